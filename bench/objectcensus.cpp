#include "objectcensus.h"

#include <QAbstractEventDispatcher>
#include <QObject>
#include <QThread>

#include <mutex>
#include <unordered_set>

// The hook table QtCore exports for debugging tools (a stable layout: the
// version, the table size, the Qt version, then the callbacks).
QT_BEGIN_NAMESPACE
extern Q_CORE_EXPORT quintptr qtHookData[];
QT_END_NAMESPACE

namespace {

constexpr int kAddObjectHook = 3;
constexpr int kRemoveObjectHook = 4;

using ObjectHook = void (*)(QObject*);

struct Registry {
    std::mutex mutex;
    std::unordered_set<QObject*> objects;
    ObjectHook nextAdd = nullptr;
    ObjectHook nextRemove = nullptr;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

void objectAdded(QObject* object) {
    Registry& r = registry();
    {
        const std::lock_guard<std::mutex> lock(r.mutex);
        r.objects.insert(object);
    }
    if (r.nextAdd)
        r.nextAdd(object);
}

void objectRemoved(QObject* object) {
    Registry& r = registry();
    {
        const std::lock_guard<std::mutex> lock(r.mutex);
        r.objects.erase(object);
    }
    if (r.nextRemove)
        r.nextRemove(object);
}

} // namespace

void ObjectCensus::install() {
    Registry& r = registry();
    r.nextAdd = reinterpret_cast<ObjectHook>(qtHookData[kAddObjectHook]);
    r.nextRemove = reinterpret_cast<ObjectHook>(qtHookData[kRemoveObjectHook]);
    qtHookData[kAddObjectHook] = reinterpret_cast<quintptr>(&objectAdded);
    qtHookData[kRemoveObjectHook] = reinterpret_cast<quintptr>(&objectRemoved);
}

ObjectCensus::Count ObjectCensus::take() {
    Count count;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QThread* here = QThread::currentThread();
    Registry& r = registry();
    const std::lock_guard<std::mutex> lock(r.mutex);
    count.objects = r.objects.size();
    if (!dispatcher)
        return count;
    for (QObject* object : r.objects)
        if (object->thread() == here)
            count.timers += static_cast<int>(dispatcher->registeredTimers(object).size());
    return count;
}
