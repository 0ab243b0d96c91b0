#include "support/test_state.h"

#include <QDir>
#include <QtGlobal>

TestStateFolder::TestStateFolder()
    : m_folder(QDir::tempPath() + QStringLiteral("/lumivant-test-state-XXXXXX"))
{
    qputenv("XDG_STATE_HOME", m_folder.path().toLocal8Bit());
}

TestStateFolder::~TestStateFolder()
{
    qunsetenv("XDG_STATE_HOME");
}
