#pragma once
// The results tree without its window: a tree of nodes under one hidden root, absolute
// pre-order indices worked out on demand, expand and collapse with the row counts of the
// grid that shows the visible nodes, selection, bulk update and the tab-indented text
// form. The drawing part derives from TGCustomOutline and overrides the protected hooks.
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "outline/ChunkPool.h"
#include "outline/GOutlineError.h"
#include "outline/GOutlineStrings.h"
#include "outline/NodeText.h"

class TGCustomOutline;
namespace qrx::outline {
struct PlacedLine;
}

class TGOutlineNode {
 public:
  TGOutlineNode(const TGOutlineNode&) = delete;
  TGOutlineNode& operator=(const TGOutlineNode&) = delete;
  ~TGOutlineNode();

  std::string Text();                  // read through OnGetNodeText
  void TextInto(std::string& text);    // the same into a string the caller keeps, for many nodes
  void SetText(const std::string& s);  // store, then OnSetNodeText
  std::string_view StoredText() const { return FText.View(); }
  void* Data() const { return FData; }
  void SetData(void* d) { FData = d; }
  TGOutlineNode* Parent() const { return FParent; }
  TGCustomOutline* Owner() const { return FOwner; }
  int32_t Index();  // -1 for a node that is not (or no longer) in the tree
  int32_t Level() const { return FLevel; }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool e);
  bool HasItems() const { return !Children().empty(); }
  void Expand();
  void Collapse();
  void FullExpand();
  int32_t GetFirstChild();
  int32_t ExpandCount() const { return FExpandCount; }

  int32_t ChildCount() const { return static_cast<int32_t>(Children().size()); }
  TGOutlineNode* Child(int32_t i) const;  // nullptr when out of range
  int32_t Position() const { return FPosition; }  // among its parent's children
  bool IsLastChild() const;
  bool IsVisible() const;  // every ancestor expanded
  bool InTree() const { return FInTree; }

  // A row lives in its tree's pool (see NewNode) and goes back there wherever it is freed.
  static void operator delete(void* p) noexcept { qrx::outline::TChunkPool::Free(p); }

 private:
  friend class TGCustomOutline;
  explicit TGOutlineNode(TGCustomOutline* owner) : FOwner(owner) {}
  static void* operator new(std::size_t size, qrx::outline::TChunkPool& pool) { return pool.Allocate(size); }
  static void operator delete(void* p, qrx::outline::TChunkPool&) noexcept { qrx::outline::TChunkPool::Free(p); }

  using TChildList = std::vector<std::unique_ptr<TGOutlineNode>>;
  // What only a parent needs, made with its first child: most nodes never have one.
  struct TKids {
    TChildList Nodes;
    // RowStarts[k]: rows taken by the children before child k; a prefix that is cut back
    // whenever a child's row count changes and extended again on demand.
    std::vector<int32_t> RowStarts;
  };
  const TChildList& Children() const {
    static const TChildList none;
    return FKids ? FKids->Nodes : none;
  }
  TChildList& ChildrenToChange() { return Kids().Nodes; }
  std::vector<int32_t>& RowStarts() const { return Kids().RowStarts; }
  void ForgetRowStarts() const {
    if (FKids) FKids->RowStarts.clear();
  }
  TKids& Kids() const {
    if (!FKids) FKids = std::make_unique<TKids>();
    return *FKids;
  }

  // A search can make a million rows, and each byte of a row is paid for in memory first
  // touched: the members are laid out without padding.
  mutable std::unique_ptr<TKids> FKids;  // mutable: row offsets are worked out on demand
  qrx::outline::TNodeText FText;
  void* FData = nullptr;
  TGOutlineNode* FParent = nullptr;
  TGCustomOutline* FOwner;
  int32_t FIndex = -1;  // right only up to the owner's valid-index mark
  int32_t FExpandCount = 0;
  int32_t FPosition = 0;
  int16_t FLevel = 0;  // at most kMaxLevel
  bool FExpanded = false;
  bool FInTree = false;
  // A width the window part measured, good while FWidthStamp is the window's stamp: a
  // slot in the node costs no lookup when 100 000 rows are shown at once.
  int32_t FWidth = 0;
  uint32_t FWidthStamp = 0;
};

using EOutlineChange = std::function<void(TGCustomOutline* sender, int32_t index)>;
using TNodeTextEvent = std::function<void(TGOutlineNode* node, std::string& text)>;
using TNodeDestroyEvent = std::function<void(TGOutlineNode* node)>;

enum TOutlineStyle {
  osText,
  osPlusMinusText,
  osPictureText,
  osPlusMinusPictureText,
  osTreeText,
  osTreePictureText
};
enum TOutlineOption { ooDrawTreeRoot, ooDrawFocusRect, ooStretchBitmaps };
enum TOutlineType { otStandard, otOwnerDraw };
enum class TOutlineScrollBars { None, Horizontal, Vertical, Both };
enum class TOutlineBorderStyle { None, Single };

class TOutlineOptions {
 public:
  constexpr TOutlineOptions() = default;
  constexpr TOutlineOptions(std::initializer_list<TOutlineOption> options) {
    for (TOutlineOption o : options) FBits |= Bit(o);
  }
  constexpr bool Contains(TOutlineOption o) const { return (FBits & Bit(o)) != 0; }
  constexpr void Include(TOutlineOption o) { FBits |= Bit(o); }
  constexpr void Exclude(TOutlineOption o) { FBits &= static_cast<uint8_t>(~Bit(o)); }
  constexpr bool operator==(const TOutlineOptions&) const = default;

 private:
  static constexpr uint8_t Bit(TOutlineOption o) { return static_cast<uint8_t>(1u << o); }
  uint8_t FBits = 0;
};

class TGCustomOutline {
 public:
  TGCustomOutline();
  virtual ~TGCustomOutline();
  TGCustomOutline(const TGCustomOutline&) = delete;
  TGCustomOutline& operator=(const TGCustomOutline&) = delete;

  EOutlineChange OnExpand, OnCollapse;
  TNodeTextEvent OnGetNodeText, OnSetNodeText;
  TNodeDestroyEvent OnNodeDestroy;
  std::function<void(const std::string& message)> OnShowError;  // used by failed attaches

  // Attaching never throws: a failed attach destroys the new node (OnNodeDestroy hands
  // its Data back), shows the error through OnShowError and returns 0. The result is the
  // new node's index, or -1 during a bulk update.
  int32_t AddObject(int32_t index, const std::string& text, void* data);
  int32_t AddChildObject(int32_t index, const std::string& text, void* data);
  int32_t AddChild(int32_t index, const std::string& text);
  int32_t InsertObject(int32_t index, const std::string& text, void* data);
  int32_t Insert(int32_t index, const std::string& text);
  void Delete(int32_t index);
  void Clear();
  TGOutlineNode* Items(int32_t index);
  // Every node in index order without looking a number up: nullptr after the last.
  TGOutlineNode* FirstNode() const;
  TGOutlineNode* NextNode(TGOutlineNode* node) const { return NextPreorder(node, FRoot.get()); }
  int32_t ItemCount();
  int32_t SelectedItem();
  void SetSelectedItem(int32_t v);
  // The same selection as a node: nullptr on an empty tree. Selecting a hidden node
  // selects its nearest visible ancestor; the current row follows the selection.
  TGOutlineNode* SelectedNode();
  void SelectNode(TGOutlineNode* node);
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return FUpdating; }
  void FullExpand();
  void FullCollapse();
  void SaveToFile(const std::string& fileName);
  void LoadFromFile(const std::string& fileName);
  TOutlineStrings& Lines() { return *FLines; }

  // The grid underneath, window-free: one row per visible node.
  int32_t RowCount() const;
  int32_t Row() const;
  void SetRow(int32_t r);
  int32_t TopRow() const { return FTopRow; }
  void SetTopRow(int32_t r);
  TGOutlineNode* NodeAtRow(int32_t row);   // the (row+1)-th visible node, nullptr if none
  int32_t RowOfNode(TGOutlineNode* node);  // its position among visible nodes, -1 when hidden

 protected:
  // Hooks for the window part. The model calls them where the grid must follow it.
  virtual void RowCountChanged() {}  // RowCount() changed (rows may also have moved)
  virtual void Invalidate() {}
  virtual void ColumnWidthChanged() {}  // recompute the column width from the visible texts
  // One visible node was attached or had its text stored; a window can widen the column
  // for that node alone instead of measuring every row again.
  virtual void NodeWidthChanged(TGOutlineNode* node) { ColumnWidthChanged(); }
  virtual void CurrentRowChanged() {}  // the node on the current row changed
  virtual void ItemSizeChanged() {}    // Style or ItemHeight written
  // For caches a window keeps per node: a node's stored text changed (visible or not),
  // and a node is about to be destroyed (called before OnNodeDestroy).
  virtual void NodeTextStored(TGOutlineNode* node) {}
  virtual void NodeDestroying(TGOutlineNode* node) {}

  TGOutlineNode* Root() const { return FRoot.get(); }
  bool DestroyingRoot() const { return FDestroyingRoot; }
  // The window part's width slot of a node (stamp 0 never matches).
  static bool KnownWidth(const TGOutlineNode* node, uint32_t stamp, int32_t& width) {
    if (stamp == 0 || node->FWidthStamp != stamp) return false;
    width = node->FWidth;
    return true;
  }
  static void KeepWidth(TGOutlineNode* node, uint32_t stamp, int32_t width) {
    node->FWidth = width;
    node->FWidthStamp = stamp;
  }
  static void ForgetWidth(TGOutlineNode* node) { node->FWidthStamp = 0; }

  // Properties that TGREPOutline publishes.
  TOutlineStyle OutlineStyle() const { return FOutlineStyle; }
  void SetOutlineStyle(TOutlineStyle v);
  TOutlineOptions Options() const { return FOptions; }
  void SetOptions(TOutlineOptions v);
  TOutlineType Style() const { return FStyle; }
  void SetStyle(TOutlineType v);
  // The row height last written; a window shows it in owner-draw style only, and reads
  // its own ItemHeight from the font otherwise.
  int32_t WrittenItemHeight() const { return FItemHeight; }
  void SetItemHeight(int32_t v);
  const std::string& ItemSeparator() const { return FItemSeparator; }
  void SetItemSeparator(const std::string& v) { FItemSeparator = v; }
  TOutlineScrollBars ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TOutlineScrollBars v);
  TOutlineBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TOutlineBorderStyle v);

 private:
  friend class TGOutlineNode;
  friend class TOutlineStrings;
  class TOpScope;
  class TBatchScope;
  enum class TAttachMode { Sibling, Child, Insert };
  enum THook : unsigned { hkRowCount = 1, hkColumnWidth = 2, hkCurrentRow = 4, hkInvalidate = 8 };

  // Tree walking (GOutlineIndex.cpp, GOutlineRows.cpp)
  static int Compare(const TGOutlineNode* a, const TGOutlineNode* b);  // pre-order: <0, 0, >0
  static TGOutlineNode* NextPreorder(TGOutlineNode* node, const TGOutlineNode* top);
  static TGOutlineNode* LastDescendant(TGOutlineNode* node);
  static bool IsInSubtree(const TGOutlineNode* node, const TGOutlineNode* top);
  static TGOutlineNode* VisibleAncestor(TGOutlineNode* node);
  static int32_t RowStart(const TGOutlineNode* parent, int32_t position);
  static void ChildRowsChanged(TGOutlineNode* child, int32_t delta);

  // GOutline.cpp: structure
  std::unique_ptr<TGOutlineNode> NewNode();
  int32_t Attach(TAttachMode mode, int32_t index, const std::string& text, void* data);
  TGOutlineNode* Link(TGOutlineNode* parent, int32_t position, std::unique_ptr<TGOutlineNode>& node);
  std::unique_ptr<TGOutlineNode> Unlink(TGOutlineNode* node, bool& selectionFell);
  void DeleteNode(TGOutlineNode* node);
  std::exception_ptr DestroyDetached(std::unique_ptr<TGOutlineNode> top);
  void ReplaceRoot();
  void StoreText(TGOutlineNode* node, const std::string& text);
  std::string ReadText(TGOutlineNode* node);
  void ReadText(TGOutlineNode* node, std::string& text);
  void SetRowNode(TGOutlineNode* node);
  void ShowError(const std::string& message) noexcept;
  int32_t AddLine(const std::string& line, void* data);
  void ReleaseGraveyard() noexcept;

  // Hooks, held back while a batch of changes runs (TBatchScope).
  void Notify(THook hook);
  void NotifyColumnWidth();
  void NotifyNodeWidth(TGOutlineNode* node);
  void FlushHooks();

  // GOutlineIndex.cpp: lazy indices and lookup
  int32_t IndexOf(TGOutlineNode* node);
  void SettleMark();
  TGOutlineNode* FindByIndex(int32_t index);
  TGOutlineNode* Lookup(int32_t index);

  // GOutlineRows.cpp: rows, expand and collapse
  int32_t RowOf(const TGOutlineNode* node) const;
  void ExpandNode(TGOutlineNode* node);
  void CollapseNode(TGOutlineNode* node);
  void FullExpandNode(TGOutlineNode* node);

  // GOutlineFile.cpp: replacing the content with lines of the text form
  void Rebuild(const std::vector<qrx::outline::PlacedLine>& lines);

  // Rows are many and small: one heap block each would cost more than the rest of an attach.
  qrx::outline::TChunkPool FNodePool;
  std::unique_ptr<TGOutlineNode> FRoot;
  TGOutlineNode* FMark = nullptr;      // last node in pre-order whose cached index is right
  TGOutlineNode* FCache = nullptr;     // node last looked up by index
  TGOutlineNode* FSelected = nullptr;  // the root when nothing is selected
  TGOutlineNode* FRowNode = nullptr;   // node on the current row; nullptr when empty
  int32_t FTopRow = 0;
  int32_t FNodeCount = 0;  // nodes besides the root
  int32_t FUpdateCount = 0;
  bool FUpdating = false;
  bool FDestroyingRoot = false;
  // Nodes taken out of the tree stay allocated until the outermost public call returns,
  // so an event handler that deletes nodes never pulls one away from under a caller.
  int FOpDepth = 0;
  std::vector<std::unique_ptr<TGOutlineNode>> FGraveyard;
  int FBatchDepth = 0;
  unsigned FPendingHooks = 0;
  std::unique_ptr<TOutlineStrings> FLines;

  TOutlineStyle FOutlineStyle = osTreePictureText;
  TOutlineOptions FOptions{ooDrawTreeRoot, ooDrawFocusRect};
  TOutlineType FStyle = otStandard;
  int32_t FItemHeight = 16;
  std::string FItemSeparator = "\\";
  TOutlineScrollBars FScrollBars = TOutlineScrollBars::Both;
  TOutlineBorderStyle FBorderStyle = TOutlineBorderStyle::Single;
};

// The results tree as the forms use it: every behaviour of TGCustomOutline with its
// properties published.
class TGREPOutline : public TGCustomOutline {
 public:
  using TGCustomOutline::BorderStyle;
  using TGCustomOutline::ItemSeparator;
  using TGCustomOutline::Options;
  using TGCustomOutline::OutlineStyle;
  using TGCustomOutline::ScrollBars;
  using TGCustomOutline::SetBorderStyle;
  using TGCustomOutline::SetItemHeight;
  using TGCustomOutline::SetItemSeparator;
  using TGCustomOutline::SetOptions;
  using TGCustomOutline::SetOutlineStyle;
  using TGCustomOutline::SetScrollBars;
  using TGCustomOutline::SetStyle;
  using TGCustomOutline::Style;
};
