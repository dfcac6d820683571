// Start-up of the StdCtrls unit: its enumerations' names and the classes
// stored forms create.
#pragma once

void InitializeStdCtrls();
