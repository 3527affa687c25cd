// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "loudness.h"

#include <sndfile.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace soundgen {

Loudness measureLoudness(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    // Samples as they are, not scaled to the loudest one.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    std::vector<float> all;
    std::vector<float> block(size_t(4096) * size_t(std::max(1, info.channels)));
    for (sf_count_t n; (n = sf_readf_float(file, block.data(), 4096)) > 0;)
        all.insert(all.end(), block.begin(), block.begin() + n * info.channels);
    sf_close(file);
    if (info.channels < 1 || info.samplerate < 1) throw std::runtime_error(path + ": no sound in it");
    return MeasureLoudness(all.data(), all.size() / size_t(info.channels), info.channels, info.samplerate);
}

}  // namespace soundgen
