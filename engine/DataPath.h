#pragma once
// Every data file the program reads lives under one data folder, "Data" in the working
// directory unless a test points it elsewhere. Callers may spell the folder "Data/", "./Data/",
// "./data/" or with backslashes; all of them resolve to the same folder.
#include <string>
#include <string_view>

void SetDataRoot(std::string root);   // tests point this at the source tree's Data folder
const std::string& DataRoot();

// Maps a path that starts with the data folder (in any spelling) onto the data root, with '/'
// separators. Any other path is returned with its backslashes turned into '/'.
std::string ResolveDataPath(std::string_view path);

// A name a person typed for a file inside one data folder (a scene, an archetype): not empty,
// valid UTF-8, no '/' or '\\', not "." or "..", no control characters, no blank at either end.
// When it is not, why says what is wrong, in words fit to show that person.
bool IsPlainFileName(std::string_view name, std::string* why = nullptr);
