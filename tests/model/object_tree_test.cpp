#include "model/project_root.h"
#include "model/screen.h"

#include <gtest/gtest.h>

TEST(ObjectTree, NewProjectHasOneScreenWithOneProgram)
{
    auto root = CProjectRoot::NewProject();
    ASSERT_EQ(root->GetChildCount(), 1);
    EXPECT_EQ(root->GetChild(0)->GetName(), QStringLiteral("Panel1"));
    EXPECT_EQ(root->GetChild(0)->GetChild(0)->GetName(), QStringLiteral("Program1"));
}
