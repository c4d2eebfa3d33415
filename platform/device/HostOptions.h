// The host's command line. The program itself reads none: these set up the
// device it runs on.
#pragma once

#include <string>
#include <vector>

#include "device/Device.h"

namespace device {

constexpr const char* kUsage =
    "usage: vantor [--store FILE] [--read-only] [--screen WxH] [--depth 2|16] [--scale N]\n"
    "              [--sip] [--headless] [--script FILE] [--screenshot FILE] [--dump FILE]\n"
    "\n"
    "  --store FILE       device image to use (default: $XDG_DATA_HOME/vantor/device.cedb,\n"
    "                     created with sample databases on first use)\n"
    "  --read-only        write nothing to the image, even a writable one: deletions fail,\n"
    "                     no settings are stored; an image that is not there is not made\n"
    "  --screen WxH       screen size in pixels (default 240x320)\n"
    "  --depth 2|16       bits per pixel: 2 is a grey-scale screen of four greys,\n"
    "                     16 a colour one (default 16)\n"
    "  --scale N          show each device pixel as NxN host pixels (default: fit the desktop)\n"
    "  --sip              start with the input panel shown\n"
    "  --headless         no window: input comes from --script only\n"
    "  --script FILE      drive the device with the steps in FILE\n"
    "  --screenshot FILE  write the screen as PNG when the run ends\n"
    "  --dump FILE        write the window tree as text when the run ends\n"
    "  --help             show this and exit\n"
    "\n"
    "In the window the mouse is the stylus and the keyboard types; F2 turns the\n"
    "device, F3 shows or hides the input panel, F12 saves vantor-NNN.png here.\n";

constexpr int kMinScreenSide = 160;
constexpr int kMaxScreenSide = 4096;
constexpr int kMaxScale = 8;

struct HostCommand {
  Options options;
  bool help = false;
};

// False with a one-line reason for an unknown or malformed option.
bool parseHostOptions(const std::vector<std::string>& args, HostCommand& command, std::string& error);

// $XDG_DATA_HOME/vantor/device.cedb, else ~/.local/share/vantor/device.cedb;
// empty when neither place is known.
std::string defaultStorePath();

// A display a window could be shown on: $DISPLAY or $WAYLAND_DISPLAY.
bool displayAvailable();

}  // namespace device
