#pragma once

#include <utility>

#include "nexilon/Object.h"

namespace nexilon {

// A counted reference to a framework object. Copying adds a reference,
// destruction releases it. Adopt() takes over a reference the caller owns
// (the result of CreateObject or QueryInterface).
template <class T>
class CPtr {
public:
    CPtr() = default;
    CPtr(std::nullptr_t) {}
    explicit CPtr(T* object) : object(object)
    {
        if (object)
            object->AddRef();
    }
    CPtr(const CPtr& other) : CPtr(other.object) {}
    CPtr(CPtr&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
    ~CPtr() { Reset(); }

    CPtr& operator=(const CPtr& other)
    {
        CPtr copy(other);
        std::swap(object, copy.object);
        return *this;
    }
    CPtr& operator=(CPtr&& other) noexcept
    {
        CPtr moved(std::move(other));
        std::swap(object, moved.object);
        return *this;
    }

    static CPtr Adopt(T* owned)
    {
        CPtr result;
        result.object = owned;
        return result;
    }

    void Reset()
    {
        if (T* old = std::exchange(object, nullptr))
            old->Release();
    }

    T* Get() const { return object; }
    T* operator->() const { return object; }
    T& operator*() const { return *object; }
    explicit operator bool() const { return object != nullptr; }
    bool operator==(const CPtr& other) const { return object == other.object; }

private:
    T* object = nullptr;
};

// Asks an object for interface I; null when it does not answer it.
template <class I>
CPtr<I> Query(IObject* object)
{
    if (!object)
        return {};
    return CPtr<I>::Adopt(static_cast<I*>(object->QueryInterface(I::Iid)));
}

} // namespace nexilon
