#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "db/table_list.h"
#include "ui/table_list_box.h"

namespace verrolift {
namespace {

std::vector<std::string> Names(const TableListBox& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.At(i));
    return names;
}

TEST(TableListBox, KeepsTheOrderGivenAndAddsNewNamesAtTheTop) {
    TableListBox list;
    list.Append("ZETA");
    list.Append("alpha");
    list.InsertAtTop("NewTable1");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"NewTable1", "ZETA", "alpha"}));
    EXPECT_FALSE(list.isSortingEnabled());
}

TEST(TableListBox, SelectionStaysOnItsTableWhenANameIsAddedAtTheTop) {
    TableListBox list;
    list.Append("A");
    list.Append("B");
    list.Select(1);
    list.InsertAtTop("C");
    EXPECT_EQ(list.Selected(), std::optional<std::string>("B"));
}

TEST(TableListBox, AtMostOneSelectedAndNoneAfterClearing) {
    TableListBox list;
    list.Append("A");
    list.Append("B");
    EXPECT_FALSE(list.Selected().has_value());
    list.Select(0);
    list.Select(1);
    EXPECT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.Selected(), std::optional<std::string>("B"));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Selected().has_value());
}

TEST(TableListBox, NamesKeepTheirBytesAndAreFoundWithoutRegardToCase) {
    TableListBox list;
    const std::string odd = "T\xe4\xff";
    list.Append(odd);
    list.Append("Orders");
    EXPECT_EQ(list.At(0), odd);
    EXPECT_TRUE(ListContains(list, "ORDERS"));
    EXPECT_FALSE(ListContains(list, "ORDER"));
}

}  // namespace
}  // namespace verrolift
