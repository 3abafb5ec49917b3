#include "platform/HandleTable.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace {

std::mutex s_mutex;
std::unordered_map<HANDLE, std::unique_ptr<PlatformHandle>> s_handles;
// Counts up from 2^32 in steps of 4: far from small integers, from
// INVALID_HANDLE_VALUE and from the registry's root keys.
std::uintptr_t s_next = std::uintptr_t(1) << 32;
static_assert(sizeof(std::uintptr_t) == 8, "handle values need 64 bits");

} // namespace

HANDLE HandleTable::add(std::unique_ptr<PlatformHandle> object)
{
    std::lock_guard lock(s_mutex);
    const HANDLE handle = reinterpret_cast<HANDLE>(s_next);
    s_next += 4;
    s_handles.emplace(handle, std::move(object));
    return handle;
}

PlatformHandle *HandleTable::find(HANDLE handle)
{
    std::lock_guard lock(s_mutex);
    const auto it = s_handles.find(handle);
    return it == s_handles.end() ? nullptr : it->second.get();
}

bool HandleTable::close(HANDLE handle)
{
    std::unique_ptr<PlatformHandle> object;
    {
        std::lock_guard lock(s_mutex);
        const auto it = s_handles.find(handle);
        if (it == s_handles.end())
            return false;
        object = std::move(it->second);
        s_handles.erase(it);
    }
    return true;
}
