// The path rules of the file commands.
#include "model/step_file.h"

namespace zs {

std::string WithStpExtension(const std::string& path) {
    const bool hasExtension = path.size() >= 4 && path.compare(path.size() - 4, 4, ".stp") == 0;
    return hasExtension ? path : path + ".stp";
}

std::string FolderPart(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FilePart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace zs
