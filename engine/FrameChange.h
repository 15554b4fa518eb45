#pragma once
// Tells a frame that would show the picture already on the screen from one that changes it,
// so that a still screen (a menu nobody touches) is not drawn and presented again and again.
//
// Whatever draws notes what decides its pixels (Note); a drawing whose pixels the notes cannot
// describe marks the frame unknown. Once two drawn frames in a row gave the same notes, the
// next frames are rehearsed: every system runs as ever, but what draws only notes (Drawing()
// is false) and nothing is presented, for as long as the notes stay the same. A rehearsal that
// finds a change has the next frame drawn and presented; the change shows one frame later
// than it would have. Frames marked unknown are always drawn.
#include <cstddef>
#include <cstdint>

class FrameChange
{
public:
    void BeginFrame();   // starts the notes; decides whether this frame is drawn
    bool EndFrame();     // whether this frame was drawn, to be presented

    // False while a frame is rehearsed: note what would be drawn, draw nothing.
    bool Drawing() const { return drawing; }

    // More notes than a screen at rest needs make the frame unknown: a busy frame spends no
    // time on notes.
    static constexpr int MostNotes = 4096;
    void Note(const void* bytes, size_t size);
    template <typename T> void Note(const T& value) { Note(&value, sizeof value); }
    // A value that is already a digest (one of Digest's) is stirred in as it is.
    void NoteDigest(uint64_t digest);
    void NoteUnknown() { unknown = true; }
    // The notes of `size` bytes alone, after `seed`: two different runs of bytes give the same
    // digest only by a rare accident.
    static uint64_t Digest(const void* bytes, size_t size, uint64_t seed);
    bool Unknown() const { return unknown; }   // nothing more needs noting this frame
    // The notes so far: two drawings with the same notes give the same picture.
    uint64_t Notes() const { return notes; }

    // The screen lost its picture (uncovered, resized): the next frame is drawn.
    void Invalidate() { steady = false; }
    // Back to the first frame's state: drawn, nothing on the screen known (for test fixtures).
    void Reset() { *this = FrameChange(); }

private:
    static uint64_t Stir(uint64_t h);   // every bit of the result hangs on every bit of h
    bool TakesNote();                   // counts one more note; false once the frame is unknown

    uint64_t notes = 0;
    int count = 0;
    uint64_t shown = 0;   // the notes of the picture on the screen
    bool drawing = true;
    bool unknown = false;
    bool steady = false;   // the last two drawn frames, or the rehearsals since, noted the same
    bool anyShown = false;
};
