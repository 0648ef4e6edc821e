#pragma once

#include <sane/sane.h>

// SANE's entry points from libsane, loaded on first use: a program that never looks for a
// scanner does not load it (nor the USB and XML libraries it brings) at start.
struct SaneLibrary {
    decltype(&sane_init) init = nullptr;
    decltype(&sane_exit) exit = nullptr;
    decltype(&sane_get_devices) get_devices = nullptr;
    decltype(&sane_open) open = nullptr;
    decltype(&sane_close) close = nullptr;
    decltype(&sane_cancel) cancel = nullptr;
    decltype(&sane_get_option_descriptor) get_option_descriptor = nullptr;
    decltype(&sane_control_option) control_option = nullptr;
    decltype(&sane_get_parameters) get_parameters = nullptr;
    decltype(&sane_start) start = nullptr;
    decltype(&sane_read) read = nullptr;

    // Every entry point was found; otherwise none is set.
    bool Loaded() const { return init != nullptr; }
};

// Loaded once, on the first call from any thread; never unloaded (backends may keep threads).
const SaneLibrary& Sane();
