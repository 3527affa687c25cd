// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// SHA-1 of a file's bytes, to tie each rendered tune to the MIDI file it was rendered from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

// The SHA-1 digest of `bytes` as 40 lowercase hexadecimal digits.
std::string sha1Hex(const std::vector<uint8_t>& bytes);

}  // namespace soundgen
