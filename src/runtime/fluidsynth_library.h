// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// FluidSynth, opened when the game first synthesises a tune live (the mixer has opened it by
// then for the same tune): the functions the game calls to hear ahead how loud the tune will be.
// Without FluidSynth the game still plays the tune, as loud as the mixer makes it.
#pragma once

#include <fluidsynth.h>

#define TAVOLNIK_FLUIDSYNTH_FUNCTIONS(X)                                                           \
    X(new_fluid_settings)                                                                          \
    X(delete_fluid_settings)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_settings_setstr)                                                                       \
    X(fluid_settings_setint)                                                                       \
    X(new_fluid_synth)                                                                             \
    X(delete_fluid_synth)                                                                          \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_set_gain)                                                                        \
    X(fluid_synth_write_float)                                                                     \
    X(new_fluid_player)                                                                            \
    X(delete_fluid_player)                                                                         \
    X(fluid_player_add_mem)                                                                        \
    X(fluid_player_play)                                                                           \
    X(fluid_player_stop)                                                                           \
    X(fluid_player_get_status)

#define TAVOLNIK_DECLARE_FUNCTION(name) decltype(&::name) name = nullptr;

struct FluidSynthLibrary {
    TAVOLNIK_FLUIDSYNTH_FUNCTIONS(TAVOLNIK_DECLARE_FUNCTION)
};

#undef TAVOLNIK_DECLARE_FUNCTION

// Loads FluidSynth on the first call; nullptr when it is not installed or lacks a function.
const FluidSynthLibrary* FluidSynth();
