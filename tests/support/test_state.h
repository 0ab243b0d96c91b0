#pragma once

#include <QTemporaryDir>

// Points the user's state folder (earlier versions, delivery receipts) of the test program
// and of every program it starts at a folder of its own, removed at the end.
class TestStateFolder
{
public:
    TestStateFolder();
    ~TestStateFolder();

private:
    QTemporaryDir m_folder;
};
