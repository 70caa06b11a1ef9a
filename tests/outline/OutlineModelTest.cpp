#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "outline/OutlineTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

TEST(OutlineErrors, EmptyTree) {
  TestOutline o;
  EXPECT_EQ(o.ItemCount(), 0);
  EXPECT_EQ(o.SelectedItem(), 0);
  EXPECT_EQ(o.RowCount(), 0);
  EXPECT_EQ(o.NodeAtRow(0), nullptr);
  struct Case {
    const char* what;
    std::function<void()> action;
    const char* error;
  } cases[] = {
      {"Items(0)", [&] { o.Items(0); }, "Invalid outline index"},
      {"Items(-1)", [&] { o.Items(-1); }, "Invalid outline index"},
      {"Items(1)", [&] { o.Items(1); }, "Outline index not found"},
      {"Delete(0)", [&] { o.Delete(0); }, "Invalid outline index"},
      {"Delete(1)", [&] { o.Delete(1); }, "Outline index not found"},
      {"SetSelectedItem(0)", [&] { o.SetSelectedItem(0); }, "Invalid selection"},
      {"SetSelectedItem(-2)", [&] { o.SetSelectedItem(-2); }, "Invalid selection"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.action), c.error) << c.what;
}

TEST(OutlineErrors, FilledTree) {
  TestOutline o;
  Build(o, {"a", "\tb", "\t\tc", "d"});
  struct Case {
    const char* what;
    std::function<void()> action;
    const char* error;
  } cases[] = {
      {"Items(ItemCount + 1)", [&] { o.Items(o.ItemCount() + 1); }, "Outline index not found"},
      {"Delete(5)", [&] { o.Delete(5); }, "Outline index not found"},
      {"Delete(-1)", [&] { o.Delete(-1); }, "Invalid outline index"},
      {"SetSelectedItem(5)", [&] { o.SetSelectedItem(5); }, "Outline index not found"},
      {"SetSelectedItem(-1)", [&] { o.SetSelectedItem(-1); }, "Invalid selection"},
      {"expand under a collapsed parent", [&] { o.Items(2)->Expand(); }, "Parent must be expanded"},
      {"full expand under a collapsed parent", [&] { o.Items(2)->FullExpand(); }, "Parent must be expanded"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.action), c.error) << c.what;
  EXPECT_EQ(Shape(o), (Lines{"a", "\tb", "\t\tc", "d"}));
}

// A failed attach never throws: the node is destroyed (its Data handed back through
// OnNodeDestroy), the error goes to the error display and the result is 0.
TEST(OutlineAttach, FailuresAreShownNotThrown) {
  enum Op { AddObj, AddChildObj, InsertObj };
  struct Case {
    Op op;
    int32_t index;
    const char* error;
  } cases[] = {
      {AddObj, -1, "Invalid outline index"},          {AddChildObj, -1, "Invalid outline index"},
      {InsertObj, -1, "Invalid outline index"},       {AddObj, 4, "Outline index not found"},
      {AddChildObj, 4, "Outline index not found"},    {InsertObj, 4, "Outline index not found"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> shown;
    std::vector<void*> destroyed;
    TestOutline o;
    Build(o, {"a", "\tb", "c"});
    o.OnShowError = [&](const std::string& m) { shown.push_back(m); };
    o.OnNodeDestroy = [&](TGOutlineNode* n) { destroyed.push_back(n->Data()); };
    int payload = 0;
    int32_t result = -99;
    switch (c.op) {
      case AddObj: result = o.AddObject(c.index, "x", &payload); break;
      case AddChildObj: result = o.AddChildObject(c.index, "x", &payload); break;
      case InsertObj: result = o.InsertObject(c.index, "x", &payload); break;
    }
    EXPECT_EQ(result, 0) << c.op << " " << c.index;
    EXPECT_EQ(shown, Lines{c.error}) << c.op << " " << c.index;
    EXPECT_EQ(destroyed, std::vector<void*>{&payload}) << c.op << " " << c.index;
    EXPECT_EQ(Shape(o), (Lines{"a", "\tb", "c"}));
  }
}

TEST(OutlineAttach, DepthLimitIs256Levels) {
  TestOutline o;
  std::string shown;
  o.OnShowError = [&](const std::string& m) { shown = m; };
  int32_t last = 0;
  for (int level = 1; level <= 256; ++level) {
    last = o.AddChild(last, "n" + std::to_string(level));
    ASSERT_EQ(last, level);
  }
  EXPECT_EQ(o.Items(last)->Level(), 256);
  EXPECT_EQ(o.AddChild(last, "too deep"), 0);
  EXPECT_EQ(shown, "Maximum outline depth exceeded");
  // Siblings at the deepest level are fine.
  EXPECT_EQ(o.AddObject(last, "sibling", nullptr), 257);
  EXPECT_EQ(o.Insert(last, "before"), 256);
  EXPECT_EQ(o.Items(256)->StoredText(), "before");
}

TEST(OutlineAttach, PlacesNodesAndReturnsTheirIndex) {
  enum Op { AddObj, AddChildObj, InsertObj };
  struct Case {
    Op op;
    int32_t index;
    int32_t expected;
    Lines shape;
  } cases[] = {
      {AddObj, 2, 4, {"a", "\tb", "\t\tc", "\tx", "d"}},
      {AddObj, 0, 5, {"a", "\tb", "\t\tc", "d", "x"}},
      {AddChildObj, 2, 4, {"a", "\tb", "\t\tc", "\t\tx", "d"}},
      {AddChildObj, 0, 5, {"a", "\tb", "\t\tc", "d", "x"}},
      {InsertObj, 1, 1, {"x", "a", "\tb", "\t\tc", "d"}},
      {InsertObj, 3, 3, {"a", "\tb", "\t\tx", "\t\tc", "d"}},
      {InsertObj, 4, 4, {"a", "\tb", "\t\tc", "x", "d"}},
      {InsertObj, 0, 5, {"a", "\tb", "\t\tc", "d", "x"}},
  };
  for (const Case& c : cases) {
    TestOutline o;
    Build(o, {"a", "\tb", "\t\tc", "d"});
    int payload = 0;
    int32_t result = 0;
    switch (c.op) {
      case AddObj: result = o.AddObject(c.index, "x", &payload); break;
      case AddChildObj: result = o.AddChildObject(c.index, "x", &payload); break;
      case InsertObj: result = o.InsertObject(c.index, "x", &payload); break;
    }
    EXPECT_EQ(result, c.expected) << c.op << " " << c.index;
    EXPECT_EQ(Shape(o), c.shape) << c.op << " " << c.index;
    EXPECT_EQ(o.Items(c.expected)->Data(), &payload);
    EXPECT_EQ(o.ItemCount(), 5);
  }
}

TEST(OutlineIndex, FollowsInsertAtTopAndDeletes) {
  TestOutline o;
  Build(o, {"a", "\tb", "\t\tc", "d", "\te"});
  std::vector<TGOutlineNode*> old;
  for (int32_t i = 1; i <= 5; ++i) old.push_back(o.Items(i));
  ASSERT_EQ(o.InsertObject(1, "x", nullptr), 1);
  for (int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(old[i]->Index(), i + 2);
    EXPECT_EQ(o.Items(i + 2), old[i]);
  }
  EXPECT_EQ(o.Items(1)->StoredText(), "x");

  o.Delete(3);  // b with c
  EXPECT_EQ(Shape(o), (Lines{"x", "a", "d", "\te"}));
  EXPECT_EQ(o.ItemCount(), 4);
  const Lines texts{"x", "a", "d", "e"};
  for (int32_t i = 1; i <= 4; ++i) EXPECT_EQ(o.Items(i)->StoredText(), texts[i - 1]);
  EXPECT_EQ(old[3]->Index(), 3);
  EXPECT_EQ(old[3]->GetFirstChild(), 4);
  EXPECT_EQ(old[4]->GetFirstChild(), -1);
}

TEST(OutlineExpand, RowCountsFollowExpandAndCollapse) {
  TestOutline o;
  Build(o, {"a", "\tb", "\t\tc", "\t\td", "\te"});
  TGOutlineNode* a = o.Items(1);
  TGOutlineNode* b = o.Items(2);
  EXPECT_EQ(o.RowCount(), 1);
  o.AddChild(1, "f");  // under a collapsed node: no row
  EXPECT_EQ(o.RowCount(), 1);
  a->Expand();
  EXPECT_EQ(o.RowCount(), 4);
  EXPECT_EQ(a->ExpandCount(), 3);
  b->Expand();
  EXPECT_EQ(o.RowCount(), 6);
  EXPECT_EQ(a->ExpandCount(), 5);
  EXPECT_EQ(b->ExpandCount(), 2);
  // Collapsing closes the whole subtree; expanding again opens one level only.
  a->Collapse();
  EXPECT_EQ(o.RowCount(), 1);
  EXPECT_FALSE(b->Expanded());
  EXPECT_EQ(b->ExpandCount(), 0);
  a->SetExpanded(true);
  EXPECT_FALSE(b->Expanded());
  EXPECT_EQ(o.RowCount(), 4);
  EXPECT_EQ(o.NodeAtRow(3)->StoredText(), "f");
  EXPECT_EQ(o.RowOfNode(o.Items(3)), -1);
  EXPECT_EQ(o.RowOfNode(o.Items(5)), 2);
}

TEST(OutlineExpand, EventsAndChildlessNodes) {
  TestOutline o;
  Build(o, {"a", "\tb", "c"});
  std::vector<std::string> log;
  o.OnExpand = [&](TGCustomOutline* sender, int32_t index) {
    EXPECT_EQ(sender, &o);
    log.push_back("expand " + std::to_string(index) + (o.Items(index)->Expanded() ? " open" : " closed") +
                  " rows " + std::to_string(o.RowCount()));
  };
  o.OnCollapse = [&](TGCustomOutline*, int32_t index) {
    log.push_back("collapse " + std::to_string(index) + " rows " + std::to_string(o.RowCount()));
  };
  o.Items(1)->Expand();
  o.Items(1)->Expand();  // already expanded: nothing
  o.Items(3)->Expand();  // no children: allowed, no rows
  o.Items(1)->Collapse();
  o.Items(2)->Collapse();  // not expanded: nothing
  EXPECT_EQ(log, (Lines{"expand 1 closed rows 2", "expand 3 closed rows 3", "collapse 1 rows 2"}));
  EXPECT_TRUE(o.Items(3)->Expanded());
  EXPECT_EQ(o.RowCount(), 2);
}

TEST(OutlineExpand, FullExpandAndFullCollapse) {
  TestOutline o;
  Build(o, {"a", "\tb", "\t\tc", "\td", "e", "\tf", "g"});
  std::vector<int32_t> expanded;
  std::vector<int32_t> collapsed;
  o.OnExpand = [&](TGCustomOutline*, int32_t index) { expanded.push_back(index); };
  o.OnCollapse = [&](TGCustomOutline*, int32_t index) { collapsed.push_back(index); };
  const int rowCalls = o.rowCountCalls;
  o.FullExpand();
  EXPECT_EQ(expanded, (std::vector<int32_t>{1, 2, 5}));  // parents before children
  EXPECT_EQ(o.RowCount(), 7);
  EXPECT_FALSE(o.Items(3)->Expanded());  // no children
  EXPECT_EQ(o.rowCountCalls, rowCalls + 1);  // one grid update for the whole batch
  o.FullCollapse();
  EXPECT_EQ(collapsed, (std::vector<int32_t>{1, 5}));
  EXPECT_EQ(o.RowCount(), 3);
  for (TGOutlineNode* n : Preorder(o)) EXPECT_FALSE(n->Expanded()) << n->StoredText();
}

TEST(OutlineDelete, LastChildCollapsesItsParent) {
  TestOutline o;
  Build(o, {"a", "\tb", "c"});
  o.Items(1)->Expand();
  std::vector<int32_t> collapsed;
  o.OnCollapse = [&](TGCustomOutline*, int32_t index) { collapsed.push_back(index); };
  o.Delete(2);
  EXPECT_FALSE(o.Items(1)->Expanded());
  EXPECT_EQ(collapsed, std::vector<int32_t>{1});
  EXPECT_EQ(o.RowCount(), 2);
  o.Delete(2);  // a top-level node: the root stays expanded
  o.Delete(1);
  EXPECT_EQ(collapsed, std::vector<int32_t>{1});
  EXPECT_EQ(o.RowCount(), 0);
  EXPECT_EQ(o.SelectedItem(), 0);
}

TEST(OutlineDelete, DestroyOrder) {
  Lines log;
  {
    TestOutline o;
    Build(o, {"a", "\tb", "\t\tc", "\t\td", "\te", "f", "g"});
    o.OnNodeDestroy = [&](TGOutlineNode* n) {
      log.push_back(n->Level() == 0 ? "root" : std::string(n->StoredText()) + (n->HasItems() ? "+" : ""));
    };
    o.Delete(1);
    EXPECT_EQ(log, (Lines{"c", "d", "b", "e", "a"}));
    log.clear();
    o.Clear();
    EXPECT_EQ(log, (Lines{"f", "g", "root"}));
    EXPECT_EQ(o.ItemCount(), 0);
    log.clear();
    o.AddChild(0, "h");
  }
  EXPECT_EQ(log, (Lines{"h", "root"}));  // destroying the control destroys every node
}

TEST(OutlineDelete, SelectionAndRowAfterDelete) {
  struct Case {
    const char* selected;
    const char* deleted;
    const char* expected;
  } cases[] = {
      {"only", "only", "q"},  // only child: its parent
      {"z", "z", "y"},        // last child: the new last sibling
      {"x", "x", "y"},        // otherwise the node that moves up
      {"y", "y", "z"},
      {"p", "p", "q"},
      {"q", "x", "q"},        // a node elsewhere keeps the selection and the row
      {"only", "y", "only"},
  };
  for (const Case& c : cases) {
    TestOutline o;
    Build(o, {"p", "\tx", "\ty", "\tz", "q", "\tonly"});
    o.FullExpand();
    o.SelectNode(Find(o, c.selected));
    o.Delete(Find(o, c.deleted)->Index());
    TGOutlineNode* selected = o.SelectedNode();
    ASSERT_NE(selected, nullptr) << c.deleted;
    EXPECT_EQ(selected->StoredText(), c.expected) << c.selected << " / " << c.deleted;
    EXPECT_EQ(o.NodeAtRow(o.Row()), selected) << c.selected << " / " << c.deleted;
  }
}

TEST(OutlineSelection, ReadAndWrite) {
  TestOutline o;
  Build(o, {"a", "\tb", "\t\tc", "d"});
  EXPECT_EQ(o.SelectedItem(), 1);  // nothing selected: the node on the current row
  o.SetSelectedItem(4);
  EXPECT_EQ(o.SelectedItem(), 4);
  EXPECT_EQ(o.Row(), 1);
  o.SetSelectedItem(3);  // hidden: its nearest visible ancestor
  EXPECT_EQ(o.SelectedItem(), 1);
  EXPECT_EQ(o.Row(), 0);
  o.SetSelectedItem(0);
  EXPECT_EQ(o.SelectedItem(), 1);
  o.FullExpand();
  o.SetSelectedItem(3);
  EXPECT_EQ(o.Row(), 2);
  o.Items(1)->Collapse();  // the selection and the row move up to what stays visible
  EXPECT_EQ(o.SelectedItem(), 1);
  EXPECT_EQ(o.Row(), 0);
  o.SetRow(1);
  EXPECT_EQ(o.NodeAtRow(o.Row())->StoredText(), "d");
  o.InsertObject(1, "new", nullptr);  // rows above push the current row down with its node
  EXPECT_EQ(o.NodeAtRow(o.Row())->StoredText(), "d");
  EXPECT_EQ(o.Row(), 2);
}

TEST(OutlineUpdate, BulkUpdateDefersIndicesAndGrid) {
  TestOutline o;
  Build(o, {"a", "b"});
  o.BeginUpdate();
  o.BeginUpdate();
  const int rowCalls = o.rowCountCalls;
  const int widthCalls = o.columnWidthCalls + o.nodeWidthCalls;
  EXPECT_EQ(o.AddChild(0, "c"), -1);
  EXPECT_EQ(o.InsertObject(1, "z", nullptr), -1);
  o.SetSelectedItem(3);  // ignored while updating
  o.SetSelectedItem(-1);
  EXPECT_EQ(o.rowCountCalls, rowCalls);
  o.EndUpdate();
  EXPECT_TRUE(o.Updating());
  EXPECT_EQ(o.rowCountCalls, rowCalls);
  o.EndUpdate();
  EXPECT_FALSE(o.Updating());
  EXPECT_EQ(o.rowCountCalls, rowCalls + 1);
  EXPECT_EQ(o.columnWidthCalls + o.nodeWidthCalls, widthCalls + 1);
  EXPECT_EQ(Shape(o), (Lines{"z", "a", "b", "c"}));
  EXPECT_EQ(o.Items(4)->StoredText(), "c");
  EXPECT_EQ(o.SelectedItem(), 2);  // the current row stayed on "a"
  o.EndUpdate();  // unbalanced: no effect
  EXPECT_FALSE(o.Updating());
  o.BeginUpdate();
  o.Clear();  // clearing ends any update
  EXPECT_FALSE(o.Updating());
  EXPECT_EQ(o.AddChild(0, "x"), 1);
}

TEST(OutlineText, EventsSeeTheNodeAtTheRightTime) {
  TestOutline o;
  Build(o, {"a"});
  o.Items(1)->Expand();
  std::vector<std::string> log;
  o.OnSetNodeText = [&](TGOutlineNode* n, std::string& text) {
    log.push_back(text + (n->Parent() ? " attached" : " loose") + (n->Data() ? " data" : " nodata"));
    text += "!";
  };
  o.OnGetNodeText = [&](TGOutlineNode* n, std::string& text) { text = "<" + text + ">"; };
  int payload = 0;
  const int widthCalls = o.nodeWidthCalls;
  const int32_t index = o.AddChildObject(1, "b", &payload);
  TGOutlineNode* b = o.Items(index);
  EXPECT_EQ(b->StoredText(), "b!");
  EXPECT_EQ(b->Text(), "<b!>");
  EXPECT_EQ(b->StoredText(), "b!");
  b->SetText("c");
  EXPECT_EQ(log, (Lines{"b loose nodata", "c attached data"}));
  EXPECT_EQ(o.Lines().Strings(1), "\t<c!>");
  EXPECT_EQ(o.nodeWidthCalls, widthCalls + 2);  // attached and stored under an open parent
}

TEST(OutlineHandlers, FailingOrMeddlingHandlersLeaveAWholeTree) {
  {
    // A destroy handler that fails does not keep the other nodes from their event.
    Lines destroyed;
    TestOutline o;
    Build(o, {"a", "\tb", "\tc", "d"});
    o.OnNodeDestroy = [&](TGOutlineNode* n) {
      destroyed.emplace_back(n->StoredText());
      if (n->StoredText() == "b") throw std::runtime_error("boom");
    };
    EXPECT_THROW(o.Delete(1), std::runtime_error);
    EXPECT_EQ(destroyed, (Lines{"b", "c", "a"}));
    EXPECT_EQ(Shape(o), Lines{"d"});
    EXPECT_EQ(o.Items(1)->StoredText(), "d");
  }
  {
    // An expand handler that deletes the node being expanded.
    TestOutline o;
    Build(o, {"a", "\tb", "c"});
    o.OnExpand = [&](TGCustomOutline*, int32_t index) { o.Delete(index); };
    o.Items(1)->Expand();
    EXPECT_EQ(Shape(o), Lines{"c"});
    EXPECT_EQ(o.RowCount(), 1);
  }
  {
    // A destroy handler that clears the whole outline in the middle of a delete.
    TestOutline o;
    Build(o, {"a", "\tb", "c", "\td"});
    o.FullExpand();
    o.SelectNode(Find(o, "b"));
    o.OnNodeDestroy = [&](TGOutlineNode* n) {
      if (n->StoredText() == "b") o.Clear();
    };
    o.Delete(2);
    EXPECT_EQ(o.ItemCount(), 0);
    EXPECT_EQ(o.RowCount(), 0);
    EXPECT_EQ(o.SelectedItem(), 0);
  }
}

}  // namespace
