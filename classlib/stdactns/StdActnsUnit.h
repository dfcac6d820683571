// Start-up of the StdActns unit: its action classes in the class registry,
// so stored forms can name them.
#pragma once

void InitializeStdActns();
