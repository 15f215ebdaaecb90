#include "pages/KpBase.h"

KpBase::~KpBase()
{
    if (m_onDestroy) m_onDestroy();
}

void KpBase::SetOwner(KpBase* owner)
{
    m_owner = std::shared_ptr<KpBase>(owner, [](KpBase*) {});
}

void KpBase::SendEvent(int code, int argument, int reserved)
{
    KpBase* target = m_owner ? m_owner.get() : this;
    target->OnEvent(code, argument, reserved);
}
