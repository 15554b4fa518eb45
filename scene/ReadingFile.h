#pragma once
// Names the data file being read while the object lives, so that the messages of the entities
// and components read from it can say where a fault is. Scopes nest: the innermost file is the
// one named (an archetype read while a scene file loads names the archetype's file).
#include <string>

class ReadingFile
{
public:
    explicit ReadingFile(std::string path);
    ~ReadingFile();
    ReadingFile(const ReadingFile&) = delete;
    ReadingFile& operator=(const ReadingFile&) = delete;

    static const std::string& Current();   // the innermost file being read; empty when none

    // "file: entity" while a file is read, else the entity's name: the bracket of a log line.
    static std::string Where(const std::string& entity);
};
