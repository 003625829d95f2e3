// The help document the program carries and writes next to itself when it is missing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zs {

inline constexpr std::size_t kHelpDocumentSize = 325307;

// The bytes of the PDF, embedded at build time from docs/Zelvorin-Step_V2.5_HELP.pdf.
std::string_view HelpDocumentData();

enum class HelpWrite { Written, AlreadyThere, Failed };

// Writes data to path unless a file or folder of that name exists; never overwrites. A write
// that fails part-way removes what it began, so a later start tries again.
HelpWrite WriteHelpDocumentIfMissing(const std::string& path, std::string_view data);

}  // namespace zs
