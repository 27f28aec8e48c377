#pragma once

#include <string>

namespace kzev {

/** The three folders the user sets: data, documents (calculations) and pictures, without their trailing slash. */
struct FolderSettings {
    std::string data;
    std::string documents;
    std::string pictures;
};

/** Returns the program's folders as the dialog shows them. */
[[nodiscard]] FolderSettings currentFolderSettings();

/**
 * Makes the folders the program's: written to PathData, PathDoc and PathPict
 * of the section "Main" as chosen (without a trailing slash), and held in
 * memory with one slash appended. Nothing checks that they exist.
 */
void applyFolderSettings(const FolderSettings& folders);

/** Returns the folder of named views: the data folder with its part "/Data/" replaced by "/View/". */
[[nodiscard]] std::string namedViewFolder(const std::string& dataFolder);

} // namespace kzev
