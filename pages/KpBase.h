#pragma once
#include <functional>
#include <memory>

// The event link between the wizard's pages and the main window. A page sends its events to its
// owner (the main window's KpBase); an object without an owner sends them to itself.
class KpBase {
public:
    KpBase() = default;
    KpBase(const KpBase&) = delete;
    KpBase& operator=(const KpBase&) = delete;
    virtual ~KpBase();

    // code, argument, reserved (always 0). The base does nothing.
    virtual void OnEvent(int code, int argument, int reserved) {}
    // Optional callbacks; the installer never sets them. The first one runs when this object is destroyed.
    virtual void SetDestroyCallback(std::function<void()> callback) { m_onDestroy = std::move(callback); }
    virtual void SetExtraCallback(std::function<void()> callback) { m_extra = std::move(callback); }

    // Does not own `owner`; the owner must outlive this object.
    void SetOwner(KpBase* owner);
    KpBase* GetOwner() const { return m_owner.get(); }

    // OnEvent of the owner when there is one, else of this object.
    void SendEvent(int code, int argument = 0, int reserved = 0);

private:
    std::shared_ptr<KpBase> m_owner;  // with a deleter that does nothing
    std::function<void()> m_onDestroy;
    std::function<void()> m_extra;
    int m_tag = 0;
};
