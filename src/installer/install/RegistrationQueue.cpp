#include "installer/install/RegistrationQueue.h"

#include <algorithm>

void queueRegistration(std::vector<QueuedRegistration>& queue, const char* path, std::int32_t priority)
{
    QueuedRegistration entry;
    entry.priority = priority;
    entry.path.assignCStr(path);
    const auto lower = std::find_if(queue.begin(), queue.end(),
                                    [priority](const QueuedRegistration& queued) { return queued.priority < priority; });
    queue.insert(lower, std::move(entry));
}
