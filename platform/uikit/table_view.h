// UIScrollView (its content offset is its bounds' origin), NSIndexPath, and
// UITableView with UITableViewCell: a table asks its data source (weak) for
// its sections, rows and cells, and keeps a cell only for each visible row,
// laid out top to bottom under its header view. Each section starts with its
// header: as high as the delegate's tableView:heightForHeaderInSection: (a
// negative height, or none: the table's section header height), showing the
// delegate's tableView:viewForHeaderInSection: when it gives one (asked when
// the data is loaded, kept until it is loaded again). The table remembers the row
// counts it last loaded; an update (insert, delete, reload rows, begin/end
// updates) checks the data source's new counts against them and raises
// NSInternalInconsistencyException as UIKit does. Cells are fetched on the
// layout pass, on an update, and when a visible row's cell is asked for.
//
// Selection and editing: a touch that begins and ends on one row taps it
// (tapRow); a tap selects the row (in edit mode only when selection during
// editing is allowed; with multiple selection during editing it toggles the
// row) and tells the delegate, unless the delegate's
// tableView:shouldHighlightRowAtIndexPath: answers NO. Reloading, and every
// change of the editing state, clears the selection; updates move it with the
// rows. A row's height is the delegate's tableView:heightForRowAtIndexPath:
// when it answers it, else rowHeight. Main thread only.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "platform/uikit/label.h"

namespace platform {

inline constexpr long long UITableViewStylePlain = 0;
inline constexpr long long UITableViewStyleGrouped = 1;

inline constexpr long long UITableViewRowAnimationFade = 0;
inline constexpr long long UITableViewRowAnimationRight = 1;
inline constexpr long long UITableViewRowAnimationLeft = 2;
inline constexpr long long UITableViewRowAnimationTop = 3;
inline constexpr long long UITableViewRowAnimationBottom = 4;
inline constexpr long long UITableViewRowAnimationNone = 5;
inline constexpr long long UITableViewRowAnimationMiddle = 6;
inline constexpr long long UITableViewRowAnimationAutomatic = 100;

inline constexpr long long UITableViewCellStyleDefault = 0;
inline constexpr long long UITableViewCellStyleValue1 = 1;
inline constexpr long long UITableViewCellStyleValue2 = 2;
inline constexpr long long UITableViewCellStyleSubtitle = 3;

inline constexpr long long UITableViewCellAccessoryNone = 0;
inline constexpr long long UITableViewCellAccessoryDisclosureIndicator = 1;
inline constexpr long long UITableViewCellAccessoryDetailDisclosureButton = 2;
inline constexpr long long UITableViewCellAccessoryCheckmark = 3;

inline constexpr long long UITableViewCellSelectionStyleNone = 0;
inline constexpr long long UITableViewCellSelectionStyleBlue = 1;
inline constexpr long long UITableViewCellSelectionStyleGray = 2;
inline constexpr long long UITableViewCellSelectionStyleDefault = 3;

inline constexpr long long UITableViewCellSeparatorStyleNone = 0;
inline constexpr long long UITableViewCellSeparatorStyleSingleLine = 1;

inline constexpr long long UITableViewCellEditingStyleNone = 0;
inline constexpr long long UITableViewCellEditingStyleDelete = 1;
inline constexpr long long UITableViewCellEditingStyleInsert = 2;

inline constexpr long long UITableViewScrollPositionNone = 0;
inline constexpr long long UITableViewScrollPositionTop = 1;
inline constexpr long long UITableViewScrollPositionMiddle = 2;
inline constexpr long long UITableViewScrollPositionBottom = 3;

// A row of a table: (section, row), ordered by section, then row.
struct IndexPath {
    long long section = 0;
    long long row = 0;
    friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

class NSIndexPath : public NSObject {
public:
    // [NSIndexPath indexPathForRow:row inSection:section]
    static Ref<NSIndexPath> make(long long section, long long row);
    IndexPath path;
};

// An array (Value) of NSIndexPath objects, and back; elements of other kinds are skipped.
Value indexPathArray(const std::vector<IndexPath>& paths);
std::vector<IndexPath> indexPathsOf(const Value& array);

class UIScrollView : public UIView {
public:
    Size contentSize_;
    bool alwaysBounceVertical_ = false;  // nothing scrolls by itself here; kept for the system to set
    bool scrollEnabled_ = true;
    bool bounces_ = true;
    bool scrollsToTop_ = true;
};

class UITableViewCell : public UIView {
public:
    // A cell made by initWithStyle:reuseIdentifier: is 320 x 44 until its
    // table places it; its content view fills it, less the accessory.
    static constexpr double kDefaultWidth = 320;
    static constexpr double kDefaultHeight = 44;
    static constexpr double kDisclosureWidth = 33;  // taken from the content view by an accessory type

    long long style_ = UITableViewCellStyleDefault;
    Value reuseIdentifier_;
    Ref<UIView> contentView_;
    Ref<UILabel> textLabel_;
    Ref<UILabel> detailTextLabel_;  // null for the default style, as in UIKit
    long long accessoryType_ = UITableViewCellAccessoryNone;
    Ref<UIView> accessoryView_;
    long long selectionStyle_ = UITableViewCellSelectionStyleDefault;
    Ref<UIView> backgroundView_;
    Ref<UIView> selectedBackgroundView_;
    bool selected_ = false;
};

class UITableView : public UIScrollView {
public:
    long long style_ = UITableViewStylePlain;
    long long separatorStyle_ = UITableViewCellSeparatorStyleSingleLine;
    WeakRef<Object> dataSource_;
    WeakRef<Object> delegate_;
    double rowHeight_ = 44;
    // Above each section; 0 for a plain table, 35 for a grouped one.
    double sectionHeaderHeight_ = 0;
    Ref<UIView> tableHeaderView_;

    // The counts the table last loaded from its data source (empty until loaded),
    // and the delegate's row heights then (empty when it gives none).
    bool dataLoaded_ = false;
    std::vector<long long> rowCounts_;
    std::vector<std::vector<double>> rowHeights_;

    bool editing_ = false;
    bool allowsSelectionDuringEditing_ = false;
    bool allowsMultipleSelectionDuringEditing_ = false;
    std::set<IndexPath> selectedRows_;
    // The row the touch in progress began on ({-1, -1}: none).
    IndexPath touchedRow_{-1, -1};
    // Per section, loaded with the counts: the header's height and the delegate's header view.
    std::vector<double> headerHeights_;
    std::map<long long, Ref<UIView>> headerViews_;
    bool headerViewsLoaded_ = false;
    // The cells of the visible rows.
    std::map<IndexPath, Ref<UITableViewCell>> cells_;

    long long sectionCount();
    long long rowCount(long long section);
    // The row's rectangle in the table's content; null for a row it lacks.
    Rect rectForRow(IndexPath path);
    // The section header's rectangle in the table's content; null for a section it lacks.
    Rect rectForHeader(long long section);
    // The delegate's view heading the section, or null.
    Ref<UIView> headerView(long long section);
    // reloadData: the header views go and are asked for again.
    void dropHeaderViews();
    // The rows that intersect the visible part of the content, in order.
    std::vector<IndexPath> visibleRows();
    // Drops the cells of rows that went out of view, fetches the missing
    // ones from the data source and places them all.
    void updateVisibleCells();
    // The visible row's cell (fetched when missing), null for another row.
    Ref<UITableViewCell> visibleCell(IndexPath path);
    // What a tap on the row does: selects it (or, with multiple selection in
    // edit mode, toggles it) and tells the delegate, as described above.
    void tapRow(IndexPath path);
    // A swipe across the row and a tap on the Delete button it shows: when the
    // table is not editing, its data source commits editing styles and can edit
    // the row, and the row's editing style is delete (the default), the data
    // source's tableView:commitEditingStyle:forRowAtIndexPath: runs. Whether it did.
    bool swipeToDeleteRow(IndexPath path);
    // The row at a point of the table's content ({-1, -1}: none).
    IndexPath rowAtPoint(Point p);
    double rowHeightAt(IndexPath path);
    void selectRow(IndexPath path);
    void deselectRow(IndexPath path);
    bool multipleSelectionActive() const { return editing_ && allowsMultipleSelectionDuringEditing_; }

    // The updates of the outermost begin/end updates in progress.
    struct Updates {
        std::set<IndexPath> inserted;  // rows after the update
        std::set<IndexPath> deleted;   // rows before the update
        std::set<IndexPath> reloaded;  // rows before the update
    };
    int updateDepth_ = 0;
    Updates pending_;
    void beginUpdates();
    void endUpdates();

private:
    void loadCounts();
    void placeCells();
    double sectionHeight(long long section);
    double headerHeight(long long section);
    bool fetching_ = false;
};

}  // namespace platform
