#include "join/SystemJoin.h"
#include "platform/TemporaryImage.h"

#include <cstring>
#include <unistd.h>

extern char** environ;

namespace partwright {

namespace {

// What a command's arguments may take of the system's limit, which the environment shares. Half
// of what is left: a margin for what the count of the system leaves out, at a cost of some more
// steps only where a list is very long.
std::size_t ArgumentRoom()
{
    const long limit = sysconf(_SC_ARG_MAX);
    std::size_t room = limit > 0 ? static_cast<std::size_t>(limit) : std::size_t{131072};
    for (char** variable = environ; variable && *variable; ++variable) {
        const std::size_t used = std::strlen(*variable) + 1 + sizeof(char*);
        room = room > used ? room - used : 0;
    }
    return room / 2;
}

} // namespace

std::vector<JoinStep> SystemJoinSteps(const std::vector<std::string>& parts,
                                      const TemporaryImage& temporary)
{
    // Every step writes to the same open file, each on at the end of what the one before wrote.
    return ComposeCatSteps("/bin/cat", parts, ArgumentRoom(), temporary.outputDescriptor());
}

std::optional<std::string> SystemJoinRefusal(const std::vector<std::string>& /*parts*/,
                                             const std::string& /*destination*/)
{
    // cat takes every name as it is, and the image is placed relative to its folder's handle.
    return std::nullopt;
}

} // namespace partwright
