#pragma once

#include <QtGlobal>

#include <memory>
#include <typeinfo>

// Every manager and interaction state of the program exists once: it is created on
// the first call of its accessor and lives until the shutdown destroys the
// singletons in their fixed order (see ApplicationShutdown.h).
template <typename T> std::unique_ptr<T>& singletonSlot() {
    static std::unique_ptr<T> slot;
    return slot;
}

// Once the shutdown has begun, a singleton that is gone stays gone: an accessor
// reached after its object was destroyed is a fault in the shutdown order, and
// building a fresh object then would hide it (and outlive the GL contexts or the
// controller it needs). Tests that start a new program life reopen them.
inline bool& singletonsClosed() {
    static bool closed = false;
    return closed;
}
inline void closeSingletons() {
    singletonsClosed() = true;
}
inline void reopenSingletons() {
    singletonsClosed() = false;
}

template <typename T> T& singleton() {
    std::unique_ptr<T>& slot = singletonSlot<T>();
    if (!slot) {
        if (singletonsClosed()) {
            qFatal("singleton %s reached after the shutdown destroyed it", typeid(T).name());
        }
        slot = std::make_unique<T>();
    }
    return *slot;
}

// Whether the singleton exists at the moment; lets shutdown code reach a manager
// without creating it again.
template <typename T> T* existingSingleton() {
    return singletonSlot<T>().get();
}

template <typename T> void destroySingleton() {
    singletonSlot<T>().reset();
}
