#pragma once
// Collects the diagnostic lines written while it lives.
#include "engine/TraceSystem.h"

#include <algorithm>
#include <string>
#include <vector>

class TraceCapture
{
public:
    TraceCapture()
    {
        TraceSystem::GetInstance().SetSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~TraceCapture() { TraceSystem::GetInstance().SetSink(nullptr); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // True when some line contains the text.
    bool Contains(const std::string& text) const
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
    std::string All() const
    {
        std::string all;
        for (const std::string& line : lines)
            all += line + "\n";
        return all;
    }

    std::vector<std::string> lines;
};
