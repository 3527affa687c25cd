// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/sdl_library.h"

#include "runtime/fluidsynth_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

namespace {

// Looks every function up in an opened library; false when one is missing, so a library too old
// for the game counts as no library at all.
#define TAVOLNIK_RESOLVE(name)                                                                     \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #name));                \
    if (!library.name) return missing(#name);

bool missing(const char* name)
{
    std::fprintf(stderr, "tavolnik: the installed library lacks %s; playing without it\n", name);
    return false;
}

bool resolve(void* handle, SdlLibrary& library)
{
    TAVOLNIK_SDL_FUNCTIONS(TAVOLNIK_RESOLVE)
    return true;
}

bool resolve(void* handle, MixerLibrary& library)
{
    TAVOLNIK_MIXER_FUNCTIONS(TAVOLNIK_RESOLVE)
    return true;
}

bool resolve(void* handle, FluidSynthLibrary& library)
{
    TAVOLNIK_FLUIDSYNTH_FUNCTIONS(TAVOLNIK_RESOLVE)
    return true;
}

#undef TAVOLNIK_RESOLVE

// The library stays loaded until the program ends: SDL keeps threads and handlers of its own.
void* open(const char* soname)
{
    void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) std::fprintf(stderr, "tavolnik: %s\n", dlerror());
    return handle;
}

template <typename Library>
const Library* load(const char* soname)
{
    static Library library;
    static const Library* loaded = nullptr;
    static std::once_flag once;
    std::call_once(once, [soname] {
        void* handle = open(soname);
        if (handle && resolve(handle, library)) loaded = &library;
    });
    return loaded;
}

} // namespace

const SdlLibrary* Sdl() { return load<SdlLibrary>("libSDL2-2.0.so.0"); }

const MixerLibrary* Mixer()
{
    // SDL_mixer's own calls go to the SDL it was linked with, which is this same library.
    if (!Sdl()) return nullptr;
    return load<MixerLibrary>("libSDL2_mixer-2.0.so.0");
}

const FluidSynthLibrary* FluidSynth() { return load<FluidSynthLibrary>("libfluidsynth.so.3"); }
