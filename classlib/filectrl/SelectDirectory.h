// SelectDirectory: the shell's folder browser (SHBrowseForFolderA), run
// with the program's other windows disabled.
#pragma once

#include <string>

// Caption is the text above the tree; Root, when not empty, the folder the
// tree starts from (a path the desktop folder can parse); Directory, when
// it exists, is selected at the start (one that does not exist is
// cleared). True when the user chose a folder, which is then in Directory;
// false leaves Directory as it was (apart from that clearing).
bool SelectDirectory(const std::string& caption, const std::wstring& root, std::string& directory);
