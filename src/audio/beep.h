// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The built-in effect for a missing or unreadable effect file.
#pragma once

#include <QByteArray>

// A short 880 Hz beep (150 ms, mono 16-bit at 22.05 kHz) as a whole WAV file in memory.
QByteArray BeepWav();
