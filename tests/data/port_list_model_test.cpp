#include "station/data/port_list_model.h"

#include <gtest/gtest.h>

namespace zek {
namespace {

using Names = std::vector<std::string>;

TEST(PortListModel, KeepsItsItemsInTheControlsOrder) {
  const std::pair<Names, Names> cases[] = {
      {{"COM2", "COM10", "COM1"}, {"COM1", "COM10", "COM2"}},
      {{"COM33", "COM4", "COM100", "COM3"}, {"COM100", "COM3", "COM33", "COM4"}},
      {{"com5", "COM4", "Com6"}, {"COM4", "com5", "Com6"}},  // case does not count
      {{"COM7", "COM7", "COM"}, {"COM", "COM7", "COM7"}},    // duplicates stay
      {{"", "COM1"}, {"", "COM1"}},
  };
  for (const auto& [added, sorted] : cases) {
    PortListModel list;
    for (const auto& name : added) list.AddItem(name);
    EXPECT_EQ(list.Items(), sorted);
  }
}

TEST(PortListModel, AnEqualItemGoesAfterTheOnesAlreadyThere) {
  PortListModel list;
  list.AddItem("com7");
  list.AddItem("COM7");
  EXPECT_EQ(list.Items(), (Names{"com7", "COM7"}));
}

TEST(PortListModel, DeletesByPositionAndIgnoresAPositionOutside) {
  PortListModel list;
  for (const char* name : {"COM3", "COM1", "COM2"}) list.AddItem(name);
  list.DeleteItem(0);
  EXPECT_EQ(list.Items(), (Names{"COM2", "COM3"}));
  list.DeleteItem(2);
  list.DeleteItem(-1);
  EXPECT_EQ(list.Count(), 2);
  list.ClearItems();
  list.DeleteItem(0);
  EXPECT_EQ(list.Count(), 0);
}

TEST(PortListModel, TellsItsListenerOfEveryChange) {
  PortListModel list;
  int changes = 0;
  list.SetChangeListener([&] { ++changes; });
  list.AddItem("COM1");
  list.SetText("COM1");
  list.DeleteItem(0);
  list.ClearItems();
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(list.Text(), "COM1");
}

}  // namespace
}  // namespace zek
