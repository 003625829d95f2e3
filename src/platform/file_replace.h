// Replacing a file's content safely and durably: the save of the step file and of the text editor.
#pragma once

#include <string>
#include <string_view>

namespace zs {

// Writes content to path through a temporary file in the target's folder, flushed to disk and
// renamed over the old file; on any failure the old file is untouched and false is returned.
// Refused: a target the running user could not open for writing, a file made read-only for
// everyone, anything but a regular file, a symbolic link that leads nowhere. A symbolic link is
// followed and the file it leads to replaced; the replaced file's permissions (and, where the
// user may, owner and group) are kept. A file with more than one hard link is written in place
// once the full temporary copy is on disk, so that every name keeps seeing the same file.
bool WriteFileReplacing(const std::string& path, std::string_view content);

}  // namespace zs
