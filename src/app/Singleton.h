#pragma once

#include <memory>

// Every manager and interaction state of the program exists once: it is created on
// the first call of its accessor and lives until the shutdown destroys the
// singletons in their fixed order (see ApplicationShutdown.h).
template <typename T> std::unique_ptr<T>& singletonSlot() {
    static std::unique_ptr<T> slot;
    return slot;
}

template <typename T> T& singleton() {
    std::unique_ptr<T>& slot = singletonSlot<T>();
    if (!slot)
        slot = std::make_unique<T>();
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
