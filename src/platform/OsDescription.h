#pragma once
#include <optional>
#include <string>

namespace platform {

// One line naming the kernel and the distribution, e.g.
// "Linux 6.1.0-18-amd64 #1 SMP (Debian GNU/Linux 12 (bookworm))";
// empty when the kernel cannot be asked.
std::optional<std::string> osDescription();

// The distribution's PRETTY_NAME (else NAME) from an os-release text; empty when absent.
std::string distributionName(const std::string& osReleaseText);

} // namespace platform
