#!/usr/bin/env python3
"""Synthesises the game's sound effects and looping songs and writes the sound registry.

Everything is made here from sine, square, triangle and saw waves and a seeded noise source,
so the output is the same on every run: mono 16-bit WAV at 22050 Hz into Data/Audio/, plus
Data/Audio/AudioRegistry.json naming every sound. Python 3 standard library only.

    tools/audio/make_sounds.py [output folder]   (default: Data/Audio beside this repository)
"""
import json
import math
import os
import struct
import sys
import wave

RATE = 22050


class Noise:
    """A small linear congruential generator: the same noise on every run and every machine."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 2147483648.0 - 1.0


def frames(seconds):
    return int(round(seconds * RATE))


def silence(seconds):
    return [0.0] * frames(seconds)


def mix_into(target, source, at=0.0, gain=1.0):
    start = frames(at)
    if len(target) < start + len(source):
        target.extend([0.0] * (start + len(source) - len(target)))
    for i, value in enumerate(source):
        target[start + i] += value * gain
    return target


def wave_at(shape, phase):
    """One cycle of a wave shape, phase in cycles."""
    p = phase % 1.0
    if shape == "sine":
        return math.sin(2 * math.pi * p)
    if shape == "square":
        return 1.0 if p < 0.5 else -1.0
    if shape == "triangle":
        return 4 * p - 1 if p < 0.5 else 3 - 4 * p
    if shape == "saw":
        return 2 * p - 1
    raise ValueError(shape)


def tone(seconds, start_hz, end_hz=None, shape="sine", attack=0.005, decay=None, vibrato=0.0):
    """A note sliding from start_hz to end_hz, with a short attack and an exponential or
    linear fade so it never clicks at either end."""
    end_hz = start_hz if end_hz is None else end_hz
    count = frames(seconds)
    out = []
    phase = 0.0
    for i in range(count):
        t = i / RATE
        k = i / max(1, count - 1)
        hz = start_hz * (end_hz / start_hz) ** k
        if vibrato:
            hz *= 1.0 + 0.03 * math.sin(2 * math.pi * vibrato * t)
        phase += hz / RATE
        env = min(1.0, t / attack) if attack > 0 else 1.0
        env *= math.exp(-t / decay) if decay else 1.0
        env *= min(1.0, (count - i) / frames(0.01))   # fade out over the last 10 ms
        out.append(wave_at(shape, phase) * env)
    return out


def noise(seconds, seed, decay=None, smooth=0.0, attack=0.002):
    """White noise, optionally smoothed by a one-pole low-pass (smooth near 1 is darker)."""
    source = Noise(seed)
    count = frames(seconds)
    out = []
    low = 0.0
    for i in range(count):
        t = i / RATE
        low = low * smooth + source.next() * (1.0 - smooth)
        env = min(1.0, t / attack) * (math.exp(-t / decay) if decay else 1.0)
        env *= min(1.0, (count - i) / frames(0.01))
        out.append(low * env)
    return out


def normalise(samples, peak):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * 32767))) for s in samples))


# ---- effects --------------------------------------------------------------------------------

def effect_select():
    out = tone(0.05, 880, shape="square", decay=0.05)
    return mix_into(out, tone(0.07, 1320, shape="square", decay=0.04), at=0.04)


def effect_click():
    return mix_into(tone(0.03, 2000, 1200, decay=0.008), noise(0.02, 7, decay=0.004), gain=0.5)


def effect_pause():
    out = tone(0.12, 660, shape="triangle", decay=0.1)
    return mix_into(out, tone(0.16, 440, shape="triangle", decay=0.1), at=0.1)


def effect_locked():
    # Two short low buzzes, the second lower: "not yet".
    out = tone(0.09, 196, shape="square", decay=0.07)
    return mix_into(out, tone(0.12, 147, shape="square", decay=0.09), at=0.11)


def effect_cheer():
    out = []
    for n, hz in enumerate([523.25, 659.25, 783.99]):
        mix_into(out, tone(0.14, hz, shape="square", decay=0.12), at=n * 0.11)
    for hz in [523.25, 659.25, 783.99, 1046.5]:
        mix_into(out, tone(0.5, hz, shape="triangle", decay=0.3), at=0.33, gain=0.5)
    return out


def effect_trombone():
    out = []
    for n, (a, b) in enumerate([(233.08, 220.0), (220.0, 207.65), (207.65, 196.0)]):
        mix_into(out, tone(0.28, a, b, shape="saw", attack=0.03, decay=0.4), at=n * 0.3)
    return mix_into(out, tone(0.7, 196.0, 174.61, shape="saw", attack=0.03, decay=0.5, vibrato=6.0), at=0.9)


def effect_finish_line():
    out = tone(0.6, 1318.5, decay=0.18)
    mix_into(out, tone(0.6, 2637.0, decay=0.08), gain=0.4)
    return mix_into(out, tone(0.5, 1975.5, decay=0.15), at=0.08, gain=0.6)


def effect_explode():
    out = noise(0.6, 11, decay=0.16, smooth=0.85)
    return mix_into(out, tone(0.4, 90, 35, decay=0.12), gain=0.8)


def effect_jetpack():
    out = noise(0.4, 23, smooth=0.6, attack=0.05)
    return [s * (0.7 + 0.3 * math.sin(2 * math.pi * 18 * i / RATE)) for i, s in enumerate(out)]


def effect_block():
    return mix_into(tone(0.15, 160, 70, decay=0.05), noise(0.03, 31, decay=0.01, smooth=0.5), gain=0.4)


def effect_dig():
    return noise(0.08, 41, decay=0.03, smooth=0.3)


def effect_lay_bridge():
    out = []
    for n in range(2):
        mix_into(out, tone(0.06, 520 - 60 * n, decay=0.02, shape="triangle"), at=n * 0.09)
        mix_into(out, noise(0.02, 53 + n, decay=0.006, smooth=0.4), at=n * 0.09, gain=0.5)
    return out


def effect_tunnel():
    out = noise(0.4, 61, smooth=0.92, attack=0.04)
    return mix_into(out, tone(0.4, 70, 55, attack=0.04), gain=0.5)


def effect_spawn():
    return tone(0.2, 300, 900, decay=0.2)


# ---- songs ----------------------------------------------------------------------------------
# A song is a pattern of steps (sixteenth notes) over a fixed tempo; its length is a whole
# number of bars and every note dies inside the song, so it loops without a seam.

def note_hz(name):
    names = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8, "A": 9, "A#": 10, "B": 11}
    octave = int(name[-1])
    return 440.0 * 2 ** ((names[name[:-1]] + 12 * (octave + 1) - 69) / 12)


def kick():
    return tone(0.16, 120, 45, decay=0.06)


def hat(seed):
    return noise(0.04, seed, decay=0.01, smooth=0.1)


def song(bpm, bars, bass, lead, lead_shape, drums):
    step = 60.0 / bpm / 4
    length = frames(step * 16 * bars)
    out = [0.0] * length
    for voice, shape, gain, span in [(bass, "triangle", 0.55, 2), (lead, lead_shape, 0.3, 2)]:
        for n, name in enumerate(voice * (16 * bars // len(voice))):
            if name != "-":
                mix_into(out, tone(step * span * 0.95, note_hz(name), shape=shape, attack=0.01, decay=step * 2),
                         at=n * step * 1.0, gain=gain)
    for n, hit in enumerate(drums * (16 * bars // len(drums))):
        if hit == "k":
            mix_into(out, kick(), at=n * step, gain=0.7)
        elif hit == "h":
            mix_into(out, hat(100 + n), at=n * step, gain=0.25)
    # Notes near the end ring past the loop point: fold their tails onto the start.
    for i in range(length, len(out)):
        out[i - length] += out[i]
    return out[:length]


def song_menu():
    bass = ["C3", "-", "-", "-", "G2", "-", "-", "-", "A2", "-", "-", "-", "F2", "-", "-", "-"]
    lead = ["E4", "-", "G4", "-", "C5", "-", "G4", "-", "A4", "-", "C5", "-", "F4", "-", "A4", "-"]
    return song(100, 2, bass, lead, "triangle", ["k", "-", "h", "-"] * 4)


def song_level1():
    bass = ["A2", "-", "A2", "-", "C3", "-", "A2", "-", "G2", "-", "G2", "-", "E2", "-", "G2", "-"]
    lead = ["A4", "-", "C5", "E5", "-", "C5", "A4", "-", "G4", "-", "B4", "D5", "-", "B4", "G4", "-"]
    return song(112, 2, bass, lead, "square", ["k", "-", "h", "-", "k", "h", "h", "-"] * 2)


def song_level2():
    bass = ["D3", "-", "-", "D3", "F3", "-", "-", "F3", "C3", "-", "-", "C3", "A#2", "-", "A2", "-"]
    lead = ["D5", "-", "A4", "-", "F4", "-", "A4", "-", "E5", "-", "C5", "-", "G4", "-", "E4", "-"]
    return song(96, 2, bass, lead, "square", ["k", "-", "-", "h", "-", "-", "k", "h"] * 2)


def song_level3():
    bass = ["E2", "E2", "-", "E2", "G2", "-", "A2", "-", "E2", "E2", "-", "E2", "D3", "-", "B2", "-"]
    lead = ["B4", "-", "E5", "-", "D5", "B4", "-", "A4", "G4", "-", "A4", "B4", "-", "-", "E4", "-"]
    return song(120, 2, bass, lead, "saw", ["k", "h", "h", "h"] * 4)


SOUNDS = [
    # name, maker, bus, loops, streamed, peak
    ("Select", effect_select, "UI", False, False, 0.8),
    ("Click", effect_click, "UI", False, False, 0.8),
    ("Pause", effect_pause, "UI", False, False, 0.8),
    ("Locked", effect_locked, "UI", False, False, 0.7),
    ("Cheer", effect_cheer, "SFX", False, False, 0.8),
    ("Trombone", effect_trombone, "SFX", False, False, 0.8),
    ("FinishLine", effect_finish_line, "SFX", False, False, 0.8),
    ("Explode", effect_explode, "SFX", False, False, 0.9),
    ("Jetpack", effect_jetpack, "SFX", False, False, 0.8),
    ("Block", effect_block, "SFX", False, False, 0.9),
    ("Dig", effect_dig, "SFX", False, False, 0.8),
    ("LayBridge", effect_lay_bridge, "SFX", False, False, 0.8),
    ("Tunnel", effect_tunnel, "SFX", False, False, 0.8),
    ("Spawn", effect_spawn, "SFX", False, False, 0.8),
    ("MenuSong", song_menu, "Music", True, True, 0.6),
    ("LevelSong1", song_level1, "Music", True, True, 0.6),
    ("LevelSong2", song_level2, "Music", True, True, 0.6),
    ("LevelSong3", song_level3, "Music", True, True, 0.6),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "Data", "Audio")
    os.makedirs(folder, exist_ok=True)
    registry = []
    for name, maker, bus, loops, streamed, peak in SOUNDS:
        write_wav(os.path.join(folder, name + ".wav"), normalise(maker(), peak))
        registry.append({
            "Name": name,
            "FileName": "Data/Audio/" + name + ".wav",
            "SoundBus": bus,
            "LoopType": "Loop" if loops else "Oneshot",
            "ModeType": "Stream" if streamed else "Sample",
        })
    with open(os.path.join(folder, "AudioRegistry.json"), "w", encoding="utf-8") as out:
        json.dump({"Sounds": registry}, out, indent=4)
        out.write("\n")


if __name__ == "__main__":
    main()
