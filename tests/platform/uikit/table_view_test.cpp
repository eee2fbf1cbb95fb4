#include "platform/uikit/table_view.h"

#include <gtest/gtest.h>

#include "tests/platform/uikit/uikit_test_support.h"

namespace platform {
inline void PrintTo(const IndexPath& p, std::ostream* os) { *os << p.section << "." << p.row; }
}  // namespace platform

namespace platform::uitest {
namespace {

// "RowSource": a data source and delegate whose row counts the test sets;
// every cell it makes carries "section.row" as its text and is logged.
class RowSource : public NSObject {
public:
    std::vector<long long> rows{3};
    bool answersSections = true;
    bool answersNil = false;
};

std::string textOf(id cell) { return sel::text(sel::textLabel(cell)).stringOr("nil"); }

void registerRowSource() {
    ClassBuilder<RowSource>("RowSource", "NSObject")
        .method(sel::numberOfSectionsInTableView_, [](id self, id) { return static_cast<long long>(as<RowSource>(self)->rows.size()); })
        .method(sel::tableView_numberOfRowsInSection_,
                [](id self, id, long long s) { return as<RowSource>(self)->rows.at(static_cast<std::size_t>(s)); })
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id self, id, id path) -> Ref<Object> {
                    std::string text = format("%ld.%ld", sel::section(path), sel::row(path));
                    callLog::record("RowSource", "tableView:cellForRowAtIndexPath:", text);
                    if (as<RowSource>(self)->answersNil) return nullptr;
                    Ref<Object> cell = sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), UITableViewCellStyleValue1, Value());
                    sel::setText_(sel::textLabel(cell), Value(text));
                    return cell;
                })
        .method(sel::tableView_didSelectRowAtIndexPath_, [](id, id, id path) {
            callLog::record("RowSource", "tableView:didSelectRowAtIndexPath:", format("%ld.%ld", sel::section(path), sel::row(path)));
        });
}

class TableView : public UIKitTest {
protected:
    TableView() {
        registerRowSource();
        source = as<RowSource>(newObject("RowSource"));
        // Room for four rows of 44 points.
        table = as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), Rect(0, 0, 320, 176), UITableViewStylePlain));
        sel::setDataSource_(table, source);
        sel::setDelegate_(table, source);
    }
    std::vector<std::string> fetched() {
        std::vector<std::string> out;
        for (const auto& c : callLog::calls())
            if (c.selector == "tableView:cellForRowAtIndexPath:") out.push_back(c.detail);
        return out;
    }
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        for (const auto& [path, cell] : table->cells_) out.push_back(textOf(cell));
        return out;
    }
    static Value paths(std::initializer_list<IndexPath> list) { return indexPathArray(list); }

    Ref<RowSource> source;
    Ref<UITableView> table;
};

TEST_F(TableView, TheLayoutPassFetchesTheVisibleRowsOnlyAndScrollingBringsInTheRest) {
    source->rows = {3, 4};
    callLog::clear();
    layoutIfNeeded(table);
    EXPECT_EQ(fetched(), (std::vector<std::string>{"0.0", "0.1", "0.2", "1.0"}));
    EXPECT_EQ(sel::rectForRowAtIndexPath_(table, NSIndexPath::make(1, 0)), Rect(0, 132, 320, 44));
    EXPECT_EQ(sel::contentSize(table), (Size{320, 308}));

    callLog::clear();
    sel::setContentOffset_(table, Point{0, 100});
    advance(0);  // the layout pass
    EXPECT_EQ(fetched(), (std::vector<std::string>{"1.1", "1.2", "1.3"}));
    EXPECT_EQ(shown(), (std::vector<std::string>{"0.2", "1.0", "1.1", "1.2", "1.3"}));
    EXPECT_EQ(indexPathsOf(sel::indexPathsForVisibleRows(table)), (std::vector<IndexPath>{{0, 2}, {1, 0}, {1, 1}, {1, 2}, {1, 3}}));
    EXPECT_FALSE(sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, 0)));
    EXPECT_EQ(textOf(sel::cellForRowAtIndexPath_(table, NSIndexPath::make(1, 1))), "1.1");
}

TEST_F(TableView, AHeaderViewSpansTheTableAndPushesTheRowsDown) {
    auto header = UIView::make("UIView", Rect(10, 10, 50, 44));
    sel::setTableHeaderView_(table, header);
    EXPECT_EQ(sel::frame(header), Rect(0, 0, 320, 44));
    EXPECT_EQ(sel::superview(header).get(), table.get());
    EXPECT_EQ(sel::rectForRowAtIndexPath_(table, NSIndexPath::make(0, 0)), Rect(0, 44, 320, 44));
    EXPECT_EQ(indexPathsOf(sel::indexPathsForVisibleRows(table)), (std::vector<IndexPath>{{0, 0}, {0, 1}, {0, 2}}));
    auto grouped = as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), Rect(0, 0, 320, 176), UITableViewStyleGrouped));
    sel::setDataSource_(grouped, source);
    EXPECT_EQ(sel::rectForRowAtIndexPath_(grouped, NSIndexPath::make(0, 1)), Rect(0, 35 + 44, 320, 44));
}

TEST_F(TableView, ReloadingRowsReplacesOnlyTheVisibleOnesCells) {
    source->rows = {6};
    layoutIfNeeded(table);
    Ref<Object> before = sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, 1));
    callLog::clear();
    sel::reloadRowsAtIndexPaths_withRowAnimation_(table, paths({{0, 1}, {0, 5}}), UITableViewRowAnimationNone);
    EXPECT_EQ(fetched(), (std::vector<std::string>{"0.1"}));
    Ref<Object> after = sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, 1));
    EXPECT_NE(before.get(), after.get());
    EXPECT_FALSE(sel::superview(before));
    EXPECT_EQ(sel::superview(after).get(), table.get());
    EXPECT_EQ(sel::frame(after), Rect(0, 44, 320, 44));
}

TEST_F(TableView, InsertsAndDeletesInOneUpdateMoveTheCellsThatStay) {
    source->rows = {4};
    layoutIfNeeded(table);
    Ref<Object> third = sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, 2));
    callLog::clear();
    source->rows = {4};  // one row deleted at 0, one inserted at 3
    sel::beginUpdates(table);
    sel::deleteRowsAtIndexPaths_withRowAnimation_(table, paths({{0, 0}}), UITableViewRowAnimationFade);
    sel::insertRowsAtIndexPaths_withRowAnimation_(table, paths({{0, 3}}), UITableViewRowAnimationFade);
    EXPECT_TRUE(fetched().empty());  // nothing happens before the outermost end
    sel::endUpdates(table);
    EXPECT_EQ(fetched(), (std::vector<std::string>{"0.3"}));
    EXPECT_EQ(sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, 1)).get(), third.get());
    EXPECT_EQ(sel::frame(third), Rect(0, 44, 320, 44));
}

struct UpdateCase {
    std::string name;
    std::vector<long long> rowsAfter;
    std::vector<IndexPath> inserted, deleted, reloaded;
    std::string reason;  // empty: consistent
};
void PrintTo(const UpdateCase& c, std::ostream* os) { *os << c.name; }

class TableUpdates : public TableView, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(TableUpdates, AnInconsistentUpdateRaisesAsUIKitDoes) {
    const UpdateCase& c = GetParam();
    source->rows = {3, 2};
    layoutIfNeeded(table);
    source->rows = c.rowsAfter;
    auto update = [&] {
        sel::beginUpdates(table);
        if (!c.inserted.empty()) sel::insertRowsAtIndexPaths_withRowAnimation_(table, indexPathArray(c.inserted), 0);
        if (!c.deleted.empty()) sel::deleteRowsAtIndexPaths_withRowAnimation_(table, indexPathArray(c.deleted), 0);
        if (!c.reloaded.empty()) sel::reloadRowsAtIndexPaths_withRowAnimation_(table, indexPathArray(c.reloaded), 0);
        sel::endUpdates(table);
    };
    if (c.reason.empty()) {
        EXPECT_NO_THROW(update());
        EXPECT_EQ(sel::numberOfRowsInSection_(table, 0), c.rowsAfter[0]);
        return;
    }
    try {
        update();
        ADD_FAILURE() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSInternalInconsistencyException");
        EXPECT_EQ(e.reason(), c.reason);
    }
    // The table keeps what it had.
    EXPECT_EQ(sel::numberOfRowsInSection_(table, 0), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableUpdates,
    ::testing::Values(
        UpdateCase{"consistent_insert", {4, 2}, {{0, 3}}, {}, {}, ""},
        UpdateCase{"consistent_delete_and_reload", {2, 2}, {}, {{0, 0}}, {{0, 1}}, ""},
        UpdateCase{"count_changed_without_insert",
                   {4, 2},
                   {},
                   {},
                   {{0, 0}},
                   "Invalid update: invalid number of rows in section 0.  The number of rows contained in an existing section after the update (4) "
                   "must be equal to the number of rows contained in that section before the update (3), plus or minus the number of rows "
                   "inserted or deleted from that section (0 inserted, 0 deleted) and plus or minus the number of rows moved into or out of "
                   "that section (0 moved in, 0 moved out)."},
        UpdateCase{"insert_without_data", {3, 2}, {{1, 0}}, {}, {},
                   "Invalid update: invalid number of rows in section 1.  The number of rows contained in an existing section after the update (2) "
                   "must be equal to the number of rows contained in that section before the update (2), plus or minus the number of rows "
                   "inserted or deleted from that section (1 inserted, 0 deleted) and plus or minus the number of rows moved into or out of "
                   "that section (0 moved in, 0 moved out)."},
        UpdateCase{"reload_beyond_the_rows", {3, 2}, {}, {}, {{0, 3}}, "attempt to delete row 3 from section 0 which only contains 3 rows before the update"},
        UpdateCase{"insert_beyond_the_rows", {4, 2}, {{0, 7}}, {}, {},
                   "attempt to insert row 7 into section 0, but there are only 4 rows in section 0 after the update"},
        UpdateCase{"section_added", {3, 2, 1}, {}, {}, {},
                   "Invalid update: invalid number of sections.  The number of sections contained in the table view after the update (3) must "
                   "be equal to the number of sections contained in the table view before the update (2), plus or minus the number of sections "
                   "inserted or deleted (0 inserted, 0 deleted)."}),
    [](const auto& info) { return info.param.name; });

TEST_F(TableView, ADataSourceWithoutACellRaises) {
    source->answersNil = true;
    try {
        layoutIfNeeded(table);
        ADD_FAILURE() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.reason(), "UITableView dataSource must return a cell from tableView:cellForRowAtIndexPath:");
    }
}

TEST_F(TableView, ATapReachesTheDelegateForAnExistingRowOnly) {
    callLog::clear();
    table->tapRow({0, 2});
    table->tapRow({0, 3});
    table->tapRow({1, 0});
    EXPECT_EQ(callLog::lines("didSelect"), (std::vector<std::string>{"RowSource tableView:didSelectRowAtIndexPath: 0.2"}));
}

TEST_F(TableView, CellsHaveTheirContentViewAndLabelsAndMakeRoomForTheAccessory) {
    auto plain = as<UITableViewCell>(sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), UITableViewCellStyleDefault, Value("id")));
    EXPECT_EQ(sel::frame(plain), Rect(0, 0, 320, 44));
    EXPECT_EQ(sel::frame(sel::contentView(plain)), Rect(0, 0, 320, 44));
    EXPECT_TRUE(sel::textLabel(plain));
    EXPECT_FALSE(sel::detailTextLabel(plain));  // the default style has none
    EXPECT_EQ(sel::reuseIdentifier(plain), Value("id"));

    sel::setAccessoryType_(plain, UITableViewCellAccessoryDisclosureIndicator);
    layoutIfNeeded(plain);
    EXPECT_EQ(sel::frame(sel::contentView(plain)).width(), 320 - UITableViewCell::kDisclosureWidth);

    auto value1 = as<UITableViewCell>(sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), UITableViewCellStyleValue1, Value()));
    EXPECT_TRUE(sel::detailTextLabel(value1));
    Ref<Object> accessory = newObject("UISwitch");
    sel::setAccessoryView_(value1, accessory);
    layoutIfNeeded(value1);
    EXPECT_EQ(sel::superview(accessory).get(), value1.get());
    EXPECT_EQ(sel::frame(accessory), Rect(320 - 15 - 51, 6.5, 51, 31));
    EXPECT_EQ(sel::frame(sel::contentView(value1)).width(), 320 - 51 - 30);
}

TEST_F(TableView, ADataSourceWithoutSectionsHasOne) {
    ClassBuilder<RowSource>("OneSection", "NSObject")
        .method(sel::tableView_numberOfRowsInSection_, [](id, id, long long) { return 2LL; })
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id, id, id) { return sel::initWithStyle_reuseIdentifier_(alloc("UITableViewCell"), UITableViewCellStyleDefault, Value()); });
    Ref<Object> one = newObject("OneSection");
    sel::setDataSource_(table, one);
    EXPECT_EQ(sel::numberOfSections(table), 1);
    EXPECT_EQ(sel::numberOfRowsInSection_(table, 0), 2);
    sel::setDataSource_(table, nullptr);
    EXPECT_EQ(sel::numberOfSections(table), 0);
}

// "EditingSource": a RowSource that also answers the editing and selection
// questions of its table as the test sets them, and logs what it is told.
class EditingSource : public RowSource {
public:
    bool highlight = true;
    bool canEdit = true;
    long long style = UITableViewCellEditingStyleDelete;
    double tallRowHeight = 0;  // row 1's height when above 0
};

std::string pathText(id p) { return format("%ld.%ld", sel::section(p), sel::row(p)); }

void registerEditingSource() {
    ClassBuilder<EditingSource>("EditingSource", "RowSource")
        .method(sel::tableView_shouldHighlightRowAtIndexPath_, [](id self, id, id) { return as<EditingSource>(self)->highlight; })
        .method(sel::tableView_didDeselectRowAtIndexPath_,
                [](id, id, id p) { callLog::record("EditingSource", "tableView:didDeselectRowAtIndexPath:", pathText(p)); })
        .method(sel::tableView_canEditRowAtIndexPath_, [](id self, id, id) { return as<EditingSource>(self)->canEdit; })
        .method(sel::tableView_editingStyleForRowAtIndexPath_, [](id self, id, id) { return as<EditingSource>(self)->style; })
        .method(sel::tableView_commitEditingStyle_forRowAtIndexPath_,
                [](id, id, long long style, id p) {
                    callLog::record("EditingSource", "tableView:commitEditingStyle:forRowAtIndexPath:", format("%ld ", style) + pathText(p));
                })
        .method(sel::tableView_heightForRowAtIndexPath_, [](id self, id, id p) {
            auto* s = as<EditingSource>(self);
            return sel::row(p) == 1 && s->tallRowHeight > 0 ? s->tallRowHeight : 44.0;
        });
}

class TableEditing : public TableView {
protected:
    TableEditing() {
        registerEditingSource();
        editing = as<EditingSource>(newObject("EditingSource"));
        sel::setDataSource_(table, editing);
        sel::setDelegate_(table, editing);
        layoutIfNeeded(table);
    }
    std::vector<IndexPath> selectedRows() { return indexPathsOf(sel::indexPathsForSelectedRows(table)); }
    bool looksSelected(long long row) { return sel::isSelected(sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, row))); }
    Ref<EditingSource> editing;
};

TEST_F(TableEditing, TapsSelectOneRowOrToggleRowsWithMultipleSelectionInEditMode) {
    table->tapRow({0, 0});
    table->tapRow({0, 2});
    EXPECT_EQ(selectedRows(), (std::vector<IndexPath>{{0, 2}}));
    EXPECT_TRUE(looksSelected(2));
    EXPECT_FALSE(looksSelected(0));
    EXPECT_EQ(callLog::lines("EditingSource"), (std::vector<std::string>{"EditingSource tableView:didDeselectRowAtIndexPath: 0.0"}));

    // In edit mode only when selection during editing is allowed; the change clears the selection.
    sel::setEditing_animated_(table, true, false);
    EXPECT_TRUE(selectedRows().empty());
    EXPECT_FALSE(looksSelected(2));
    table->tapRow({0, 1});
    EXPECT_TRUE(selectedRows().empty());
    sel::setAllowsMultipleSelectionDuringEditing_(table, true);
    table->tapRow({0, 1});
    table->tapRow({0, 2});
    table->tapRow({0, 1});
    EXPECT_EQ(selectedRows(), (std::vector<IndexPath>{{0, 2}}));
    sel::selectRowAtIndexPath_animated_scrollPosition_(table, NSIndexPath::make(0, 0), false, UITableViewScrollPositionNone);
    EXPECT_EQ(selectedRows(), (std::vector<IndexPath>{{0, 0}, {0, 2}}));

    // The delegate may refuse the highlight: nothing is selected or told.
    editing->highlight = false;
    callLog::clear();
    table->tapRow({0, 1});
    EXPECT_EQ(selectedRows(), (std::vector<IndexPath>{{0, 0}, {0, 2}}));
    EXPECT_TRUE(callLog::lines("didSelectRowAtIndexPath").empty());
}

TEST_F(TableEditing, ATouchThatBeginsAndEndsOnARowTapsIt) {
    auto window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
    sel::addSubview_(window, table);
    sel::setHidden_(window, false);
    callLog::clear();
    touch::tap(Point{100, 44 + 22});
    EXPECT_EQ(callLog::lines("didSelect"), (std::vector<std::string>{"RowSource tableView:didSelectRowAtIndexPath: 0.1"}));
    Ref<UITouch> t = touch::down(Point{100, 22});
    touch::move(t, Point{100, 100});
    touch::up(t);
    EXPECT_EQ(callLog::lines("didSelect").size(), 1u);
    EXPECT_TRUE(sel::indexPathForRowAtPoint_(table, Point{100, 3 * 44 - 1}));
    EXPECT_FALSE(sel::indexPathForRowAtPoint_(table, Point{100, 3 * 44 + 1}));
}

TEST_F(TableEditing, ReloadingClearsTheSelectionAndUpdatesMoveIt) {
    editing->rows = {4};
    sel::reloadData(table);
    sel::setEditing_animated_(table, true, false);
    sel::setAllowsMultipleSelectionDuringEditing_(table, true);
    for (long long r : {1, 3}) sel::selectRowAtIndexPath_animated_scrollPosition_(table, NSIndexPath::make(0, r), false, 0);
    editing->rows = {3};
    sel::deleteRowsAtIndexPaths_withRowAnimation_(table, paths({{0, 0}}), UITableViewRowAnimationFade);
    EXPECT_EQ(selectedRows(), (std::vector<IndexPath>{{0, 0}, {0, 2}}));
    editing->rows = {2};
    sel::deleteRowsAtIndexPaths_withRowAnimation_(table, paths({{0, 2}}), UITableViewRowAnimationFade);
    EXPECT_EQ(selectedRows(), (std::vector<IndexPath>{{0, 0}}));
    sel::reloadData(table);
    EXPECT_TRUE(sel::indexPathsForSelectedRows(table).isNil());
}

TEST_F(TableEditing, SwipingDeletesOnlyAnEditableRowOfTheDeleteStyleOutsideEditMode) {
    struct Case {
        const char* name;
        bool canEdit;
        long long style;
        bool editingMode;
        bool deletes;
    };
    const Case cases[] = {
        {"editable, delete style", true, UITableViewCellEditingStyleDelete, false, true},
        {"not editable", false, UITableViewCellEditingStyleDelete, false, false},
        {"no style", true, UITableViewCellEditingStyleNone, false, false},
        {"insert style", true, UITableViewCellEditingStyleInsert, false, false},
        {"in edit mode", true, UITableViewCellEditingStyleDelete, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editing->canEdit = c.canEdit;
        editing->style = c.style;
        sel::setEditing_animated_(table, c.editingMode, false);
        callLog::clear();
        EXPECT_EQ(table->swipeToDeleteRow({0, 1}), c.deletes);
        EXPECT_EQ(callLog::lines("commitEditingStyle"),
                  c.deletes ? std::vector<std::string>{"EditingSource tableView:commitEditingStyle:forRowAtIndexPath: 1 0.1"}
                            : std::vector<std::string>{});
    }
    // Without a commit method nothing is offered.
    sel::setDataSource_(table, source);
    sel::setEditing_animated_(table, false, false);
    EXPECT_FALSE(table->swipeToDeleteRow({0, 1}));
}

TEST_F(TableEditing, TheDelegatesRowHeightsPlaceTheRows) {
    editing->tallRowHeight = 68;
    sel::reloadData(table);
    layoutIfNeeded(table);
    EXPECT_EQ(sel::rectForRowAtIndexPath_(table, NSIndexPath::make(0, 1)), Rect(0, 44, 320, 68));
    EXPECT_EQ(sel::rectForRowAtIndexPath_(table, NSIndexPath::make(0, 2)), Rect(0, 112, 320, 44));
    EXPECT_EQ(sel::contentSize(table), (Size{320, 156}));
    EXPECT_EQ(sel::frame(sel::cellForRowAtIndexPath_(table, NSIndexPath::make(0, 1))), Rect(0, 44, 320, 68));
    EXPECT_EQ(sel::row(sel::indexPathForRowAtPoint_(table, Point{10, 111})), 1);
    EXPECT_EQ(sel::row(sel::indexPathForRowAtPoint_(table, Point{10, 112})), 2);
}

}  // namespace
}  // namespace platform::uitest
