#pragma once
// What every call of the sound layer answers: Ok, or the reason it did nothing. A failed call
// changes nothing and leaves its out-values as they were.
namespace Sound
{
enum class Result : int
{
    Ok = 0,
    InvalidHandle,    // a null handle, or a channel that ended, was stopped or was stolen
    InvalidParam,     // a null pointer, a negative or non-finite volume, a group loop
    NotInitialised,   // the system is not open (before Init or after Close)
    AlreadyInitialised,
    NoOutput,   // neither the sound device nor the offline mixer could be opened
    FileNotFound,
    FileUnreadable,      // the file exists but holds no sound that decodes
    FormatUnsupported,   // more than two channels
    Unsupported,         // the call needs the offline output (rendering by hand)
    BackendFailure,      // the mixer refused a request (out of sources or memory)
};

// A short sentence for a result, for log lines.
const char* ResultText(Result result);
}   // namespace Sound
