// The platform services the program uses, handed around as one bundle.
#pragma once

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/gui.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/serial.h"
#include "platform/system.h"

namespace zs {

struct Services {
    gui::Gui& gui;
    Input& input;
    Desktop& desktop;
    SerialPorts& serial;
    ProcessStarter& process;
    SystemInfo& system;
    Clock& clock;
};

}  // namespace zs
