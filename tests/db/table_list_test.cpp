#include "db/table_list.h"

#include <gtest/gtest.h>

namespace verrolift {
namespace {

TEST(ListContains, ComparesWithoutLetterCase) {
    VectorTableList list({"EMP", "NewTable1", "dept"});
    EXPECT_TRUE(ListContains(list, "emp"));
    EXPECT_TRUE(ListContains(list, "NEWTABLE1"));
    EXPECT_TRUE(ListContains(list, "Dept"));
    EXPECT_FALSE(ListContains(list, "NewTable"));
    EXPECT_FALSE(ListContains(list, "NewTable12"));
    EXPECT_FALSE(ListContains(VectorTableList{}, ""));
}

TEST(VectorTableList, InsertAtTopKeepsTheSelectedTable) {
    VectorTableList list({"A", "B"});
    list.Select(1);
    list.InsertAtTop("C");
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_EQ(list.Selected(), "B");
    list.Clear();
    EXPECT_FALSE(list.Selected().has_value());
}

}  // namespace
}  // namespace verrolift
