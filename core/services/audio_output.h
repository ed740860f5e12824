// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Plays one wav file at a time in the background.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Starts the file. A different file still open is stopped first; the same file still
    // open keeps playing undisturbed. Never blocks, never reports: a bad file is silence.
    virtual void play(const QString& path) = 0;
    // Stops and releases whatever is open.
    virtual void close() = 0;
};
