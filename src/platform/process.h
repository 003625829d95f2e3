// Starting files: programs as new processes, other files with their associated application.
#pragma once

#include <string>

#include "platform/status.h"

namespace zs {

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // An executable file is started as a new process with no arguments, without waiting; any other
    // existing file or folder is opened with the application associated with it.
    virtual Status startFile(const std::string& path) = 0;
    // Opens a document with its associated application, without waiting (the help document).
    virtual Status openDocument(const std::string& path) = 0;
};

}  // namespace zs
