#include "platform/HandleTable.h"

#include <mutex>
#include <unordered_map>

namespace {

std::mutex s_mutex;
std::unordered_map<HANDLE, std::unique_ptr<PlatformHandle>> s_handles;

} // namespace

HANDLE HandleTable::add(std::unique_ptr<PlatformHandle> object)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(object.get());
    std::lock_guard lock(s_mutex);
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
