#include "members/memberscreenstate.h"

MemberScreenState::MemberScreenState(QObject* parent)
    : QObject(parent)
{}

MemberScreenState::~MemberScreenState() = default;

void MemberScreenState::announceShown(qint64 id)
{
    m_shownId = id;
    m_pendingPicture.reset();
    emit memberShown(id);
}

void MemberScreenState::announceCleared()
{
    m_shownId = 0;
    m_pendingPicture.reset();
    emit memberCleared();
}
