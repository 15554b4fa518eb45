#pragma once
// Points the data root at another folder for the object's life (a fixture folder under
// tests/data, or a temporary copy of one) and restores it afterwards.
#include "engine/DataPath.h"

#include <string>

class ScopedDataRoot
{
public:
    explicit ScopedDataRoot(const std::string& root) : saved(DataRoot()) { SetDataRoot(root); }
    ~ScopedDataRoot() { SetDataRoot(saved); }
    ScopedDataRoot(const ScopedDataRoot&) = delete;
    ScopedDataRoot& operator=(const ScopedDataRoot&) = delete;

    // A folder of the test data in the source tree ("fixtures", "malformed").
    static std::string TestData(const std::string& folder)
    {
        return ZOVERAV_SOURCE_DIR "/tests/data/" + folder;
    }

private:
    std::string saved;
};
