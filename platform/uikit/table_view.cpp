#include "platform/uikit/table_view.h"

#include <algorithm>

#include "platform/foundation/format.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/touch.h"

namespace platform {

// --- NSIndexPath ----------------------------------------------------------------------

Ref<NSIndexPath> NSIndexPath::make(long long section, long long row) {
    auto p = as<NSIndexPath>(alloc("NSIndexPath"));
    if (p) p->path = IndexPath{section, row};
    return p;
}

Value indexPathArray(const std::vector<IndexPath>& paths) {
    Value::Array out;
    for (const auto& p : paths) out.emplace_back(NSIndexPath::make(p.section, p.row));
    return Value(std::move(out));
}

std::vector<IndexPath> indexPathsOf(const Value& array) {
    std::vector<IndexPath> out;
    for (const Value& v : array.array())
        if (auto* p = v.objectAs<NSIndexPath>()) out.push_back(p->path);
    return out;
}

namespace {

IndexPath pathOf(id indexPath) {
    auto* p = as<NSIndexPath>(indexPath);
    return p ? p->path : IndexPath{-1, -1};
}

Class* tableClass() {
    static Class* c = objc_getClass("UITableView");
    return c;
}

Class* cellClass() {
    static Class* c = objc_getClass("UITableViewCell");
    return c;
}

}  // namespace

// --- UITableView -------------------------------------------------------------------------

void UITableView::loadCounts() {
    rowCounts_.clear();
    dataLoaded_ = true;
    Ref<Object> source = dataSource_.lock();
    if (!source) return;
    long long sections = respondsToSelector(source, sel::numberOfSectionsInTableView_.name)
                             ? sel::numberOfSectionsInTableView_(source, this)
                             : 1;
    for (long long s = 0; s < sections; ++s)
        rowCounts_.push_back(std::max(0LL, sel::tableView_numberOfRowsInSection_(source, this, s)));
    Ref<Object> delegate = delegate_.lock();
    headerHeights_.clear();
    bool asks = delegate && respondsToSelector(delegate, sel::tableView_heightForHeaderInSection_.name);
    for (long long s = 0; s < sections; ++s) {
        double h = asks ? sel::tableView_heightForHeaderInSection_(delegate, this, s) : -1;
        headerHeights_.push_back(h < 0 ? sectionHeaderHeight_ : h);
    }
    rowHeights_.clear();
    if (!delegate || !respondsToSelector(delegate, sel::tableView_heightForRowAtIndexPath_.name)) return;
    for (long long s = 0; s < sections; ++s) {
        std::vector<double> heights;
        for (long long r = 0; r < rowCounts_[static_cast<std::size_t>(s)]; ++r)
            heights.push_back(sel::tableView_heightForRowAtIndexPath_(delegate, this, NSIndexPath::make(s, r)));
        rowHeights_.push_back(std::move(heights));
    }
}

double UITableView::rowHeightAt(IndexPath path) {
    if (path.section >= 0 && path.section < static_cast<long long>(rowHeights_.size())) {
        const auto& heights = rowHeights_[static_cast<std::size_t>(path.section)];
        if (path.row >= 0 && path.row < static_cast<long long>(heights.size())) return heights[static_cast<std::size_t>(path.row)];
    }
    return rowHeight_;
}

double UITableView::sectionHeight(long long section) {
    double h = 0;
    for (long long r = 0; r < rowCount(section); ++r) h += rowHeightAt({section, r});
    return h;
}

double UITableView::headerHeight(long long section) {
    if (!dataLoaded_) loadCounts();
    return section >= 0 && section < static_cast<long long>(headerHeights_.size()) ? headerHeights_[static_cast<std::size_t>(section)]
                                                                                  : sectionHeaderHeight_;
}

Rect UITableView::rectForHeader(long long section) {
    if (section < 0 || section >= sectionCount()) return Rect::null();
    double y = tableHeaderView_ ? tableHeaderView_->frameValue().maxY() : 0;
    for (long long s = 0; s < section; ++s) y += headerHeight(s) + sectionHeight(s);
    return Rect(0, y, bounds_.size.width, headerHeight(section));
}

Ref<UIView> UITableView::headerView(long long section) {
    auto it = headerViews_.find(section);
    return it == headerViews_.end() ? nullptr : it->second;
}

void UITableView::dropHeaderViews() {
    auto views = std::move(headerViews_);
    headerViews_.clear();
    headerViewsLoaded_ = false;
    for (const auto& [section, v] : views)
        if (v->superview().get() == this) removeSubview(v);
}

long long UITableView::sectionCount() {
    if (!dataLoaded_) loadCounts();
    return static_cast<long long>(rowCounts_.size());
}

long long UITableView::rowCount(long long section) {
    if (section < 0 || section >= sectionCount()) return 0;
    return rowCounts_[static_cast<std::size_t>(section)];
}

Rect UITableView::rectForRow(IndexPath path) {
    if (path.row < 0 || path.row >= rowCount(path.section)) return Rect::null();
    double y = tableHeaderView_ ? tableHeaderView_->frameValue().maxY() : 0;
    for (long long s = 0; s < path.section; ++s) y += headerHeight(s) + sectionHeight(s);
    y += headerHeight(path.section);
    for (long long r = 0; r < path.row; ++r) y += rowHeightAt({path.section, r});
    return Rect(0, y, bounds_.size.width, rowHeightAt(path));
}

IndexPath UITableView::rowAtPoint(Point p) {
    for (long long s = 0; s < sectionCount(); ++s)
        for (long long r = 0; r < rowCount(s); ++r) {
            Rect rect = rectForRow({s, r});
            if (p.y >= rect.minY() && p.y < rect.maxY() && p.x >= rect.minX() && p.x < rect.maxX()) return {s, r};
        }
    return {-1, -1};
}

std::vector<IndexPath> UITableView::visibleRows() {
    std::vector<IndexPath> out;
    double top = bounds_.origin.y, bottom = top + bounds_.size.height;
    for (long long s = 0; s < sectionCount(); ++s)
        for (long long r = 0; r < rowCount(s); ++r) {
            Rect rect = rectForRow({s, r});
            if (rect.maxY() > top && rect.minY() < bottom) out.push_back({s, r});
        }
    return out;
}

void UITableView::updateVisibleCells() {
    // A data source that asks the table about itself while it makes a cell
    // must not start a second fetch.
    if (fetching_) return;
    fetching_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{fetching_};
    Ref<UITableView> protector(this);
    auto visible = visibleRows();
    for (auto it = cells_.begin(); it != cells_.end();) {
        if (std::find(visible.begin(), visible.end(), it->first) == visible.end()) {
            Ref<UITableViewCell> gone = it->second;
            it = cells_.erase(it);
            if (gone->superview().get() == this) removeSubview(gone);
        } else {
            ++it;
        }
    }
    for (const auto& path : visible) {
        if (cells_.count(path)) continue;
        Ref<Object> source = dataSource_.lock();
        if (!source) break;
        Ref<Object> made = sel::tableView_cellForRowAtIndexPath_(source, this, NSIndexPath::make(path.section, path.row));
        Ref<UITableViewCell> cell(as<UITableViewCell>(made.get()));
        if (!cell) raise("NSInternalInconsistencyException", "UITableView dataSource must return a cell from tableView:cellForRowAtIndexPath:");
        cells_[path] = cell;
        if (bool selected = selectedRows_.count(path) > 0; cell->selected_ != selected) sel::setSelected_animated_(cell, selected, false);
        sel::addSubview_(this, cell);
    }
    placeCells();
}

void UITableView::placeCells() {
    double width = bounds_.size.width;
    if (!headerViewsLoaded_) {
        headerViewsLoaded_ = true;
        Ref<Object> delegate = delegate_.lock();
        if (delegate && respondsToSelector(delegate, sel::tableView_viewForHeaderInSection_.name))
            for (long long s = 0; s < sectionCount(); ++s)
                if (Ref<UIView> v(as<UIView>(sel::tableView_viewForHeaderInSection_(delegate, this, s).get())); v) {
                    headerViews_[s] = v;
                    sel::addSubview_(this, v);
                }
    }
    for (const auto& [section, v] : headerViews_) {
        Rect r = rectForHeader(section);
        if (!(v->frameValue() == r)) sel::setFrame_(v, r);
    }
    if (tableHeaderView_) {
        Rect f = tableHeaderView_->frameValue();
        if (f.origin.x != 0 || f.origin.y != 0 || f.size.width != width) sel::setFrame_(tableHeaderView_, Rect(0, 0, width, f.size.height));
    }
    for (const auto& [path, cell] : cells_) {
        Rect r = rectForRow(path);
        if (!(cell->frameValue() == r)) sel::setFrame_(cell, r);
    }
    double height = tableHeaderView_ ? tableHeaderView_->frameValue().maxY() : 0;
    for (long long s = 0; s < sectionCount(); ++s) height += headerHeight(s) + sectionHeight(s);
    contentSize_ = Size{width, height};
}

Ref<UITableViewCell> UITableView::visibleCell(IndexPath path) {
    auto visible = visibleRows();
    if (std::find(visible.begin(), visible.end(), path) == visible.end()) return nullptr;
    if (!cells_.count(path)) updateVisibleCells();
    auto it = cells_.find(path);
    return it == cells_.end() ? nullptr : it->second;
}

void UITableView::selectRow(IndexPath path) {
    if (path.row < 0 || path.row >= rowCount(path.section)) return;
    selectedRows_.insert(path);
    if (auto it = cells_.find(path); it != cells_.end() && !it->second->selected_) sel::setSelected_animated_(it->second, true, false);
}

void UITableView::deselectRow(IndexPath path) {
    selectedRows_.erase(path);
    if (auto it = cells_.find(path); it != cells_.end() && it->second->selected_) sel::setSelected_animated_(it->second, false, false);
}

void UITableView::tapRow(IndexPath path) {
    if (path.row < 0 || path.row >= rowCount(path.section)) return;
    if (editing_ && !allowsSelectionDuringEditing_ && !allowsMultipleSelectionDuringEditing_) return;
    Ref<UITableView> protector(this);
    Ref<Object> delegate = delegate_.lock();
    auto respond = [&](std::string_view selector) { return delegate && respondsToSelector(delegate, selector); };
    Ref<NSIndexPath> indexPath = NSIndexPath::make(path.section, path.row);
    if (respond(sel::tableView_shouldHighlightRowAtIndexPath_.name) && !sel::tableView_shouldHighlightRowAtIndexPath_(delegate, this, indexPath))
        return;
    if (multipleSelectionActive() && selectedRows_.count(path)) {
        deselectRow(path);
        if (respond(sel::tableView_didDeselectRowAtIndexPath_.name)) sel::tableView_didDeselectRowAtIndexPath_(delegate, this, indexPath);
        return;
    }
    if (!multipleSelectionActive()) {
        auto others = selectedRows_;
        for (const auto& other : others) {
            if (other == path) continue;
            deselectRow(other);
            if (respond(sel::tableView_didDeselectRowAtIndexPath_.name))
                sel::tableView_didDeselectRowAtIndexPath_(delegate, this, NSIndexPath::make(other.section, other.row));
        }
    }
    selectRow(path);
    if (respond(sel::tableView_didSelectRowAtIndexPath_.name)) sel::tableView_didSelectRowAtIndexPath_(delegate, this, indexPath);
}

bool UITableView::swipeToDeleteRow(IndexPath path) {
    if (editing_ || path.row < 0 || path.row >= rowCount(path.section)) return false;
    Ref<UITableView> protector(this);
    Ref<Object> source = dataSource_.lock();
    if (!source || !respondsToSelector(source, sel::tableView_commitEditingStyle_forRowAtIndexPath_.name)) return false;
    Ref<NSIndexPath> indexPath = NSIndexPath::make(path.section, path.row);
    if (respondsToSelector(source, sel::tableView_canEditRowAtIndexPath_.name) && !sel::tableView_canEditRowAtIndexPath_(source, this, indexPath))
        return false;
    Ref<Object> delegate = delegate_.lock();
    long long style = delegate && respondsToSelector(delegate, sel::tableView_editingStyleForRowAtIndexPath_.name)
                          ? sel::tableView_editingStyleForRowAtIndexPath_(delegate, this, indexPath)
                          : UITableViewCellEditingStyleDelete;
    if (style != UITableViewCellEditingStyleDelete) return false;
    sel::tableView_commitEditingStyle_forRowAtIndexPath_(source, this, UITableViewCellEditingStyleDelete, indexPath);
    return true;
}

void UITableView::beginUpdates() {
    if (updateDepth_++ > 0) return;
    if (!dataLoaded_) loadCounts();
    pending_ = Updates{};
}

void UITableView::endUpdates() {
    if (updateDepth_ == 0 || --updateDepth_ > 0) return;
    Updates u = std::move(pending_);
    pending_ = Updates{};
    const std::vector<long long> before = rowCounts_;
    auto beforeSections = static_cast<long long>(before.size());
    for (const auto* set : {&u.deleted, &u.reloaded})
        for (const auto& p : *set) {
            if (p.section < 0 || p.section >= beforeSections)
                raise("NSInternalInconsistencyException", format("attempt to delete row %ld from section %ld, but there are only %ld sections before the update",
                                                                 p.row, p.section, beforeSections));
            if (p.row < 0 || p.row >= before[static_cast<std::size_t>(p.section)])
                raise("NSInternalInconsistencyException", format("attempt to delete row %ld from section %ld which only contains %ld rows before the update",
                                                                 p.row, p.section, before[static_cast<std::size_t>(p.section)]));
        }

    loadCounts();
    const std::vector<long long> after = rowCounts_;
    rowCounts_ = before;  // until the update has been checked
    auto afterSections = static_cast<long long>(after.size());
    if (afterSections != beforeSections)
        raise("NSInternalInconsistencyException",
              format("Invalid update: invalid number of sections.  The number of sections contained in the table view after the update (%ld) "
                     "must be equal to the number of sections contained in the table view before the update (%ld), plus or minus the number "
                     "of sections inserted or deleted (0 inserted, 0 deleted).",
                     afterSections, beforeSections));
    for (const auto& p : u.inserted)
        if (p.section < 0 || p.section >= afterSections || p.row < 0 || p.row >= after[static_cast<std::size_t>(p.section)])
            raise("NSInternalInconsistencyException",
                  format("attempt to insert row %ld into section %ld, but there are only %ld rows in section %ld after the update", p.row, p.section,
                         p.section >= 0 && p.section < afterSections ? after[static_cast<std::size_t>(p.section)] : 0LL, p.section));
    for (long long s = 0; s < afterSections; ++s) {
        auto inSection = [s](const std::set<IndexPath>& set) {
            return static_cast<long long>(std::count_if(set.begin(), set.end(), [s](const IndexPath& p) { return p.section == s; }));
        };
        long long inserted = inSection(u.inserted), deleted = inSection(u.deleted);
        long long was = before[static_cast<std::size_t>(s)], is = after[static_cast<std::size_t>(s)];
        if (is != was + inserted - deleted)
            raise("NSInternalInconsistencyException",
                  format("Invalid update: invalid number of rows in section %ld.  The number of rows contained in an existing section after the "
                         "update (%ld) must be equal to the number of rows contained in that section before the update (%ld), plus or minus the "
                         "number of rows inserted or deleted from that section (%ld inserted, %ld deleted) and plus or minus the number of rows "
                         "moved into or out of that section (0 moved in, 0 moved out).",
                         s, is, was, inserted, deleted));
    }

    // The cells of the rows that stay move to their new places; deleted and
    // reloaded rows lose theirs.
    Ref<UITableView> protector(this);
    std::map<IndexPath, Ref<UITableViewCell>> moved;
    for (const auto& [path, cell] : cells_) {
        if (u.deleted.count(path) || u.reloaded.count(path)) {
            if (cell->superview().get() == this) removeSubview(cell);
            continue;
        }
        long long row = path.row;
        for (const auto& d : u.deleted)
            if (d.section == path.section && d.row < path.row) --row;
        for (const auto& i : u.inserted)
            if (i.section == path.section && i.row <= row) ++row;
        moved[{path.section, row}] = cell;
    }
    cells_ = std::move(moved);
    std::set<IndexPath> selected;
    for (const auto& path : selectedRows_) {
        if (u.deleted.count(path) || u.reloaded.count(path)) continue;
        long long row = path.row;
        for (const auto& d : u.deleted)
            if (d.section == path.section && d.row < path.row) --row;
        for (const auto& i : u.inserted)
            if (i.section == path.section && i.row <= row) ++row;
        selected.insert({path.section, row});
    }
    selectedRows_ = std::move(selected);
    rowCounts_ = after;
    updateVisibleCells();
}

// --- registration --------------------------------------------------------------------------

namespace {

UITableView* table(id self) { return as<UITableView>(self); }
UITableViewCell* cell(id self) { return as<UITableViewCell>(self); }

void queue(id self, const Value& paths, std::set<IndexPath> UITableView::Updates::*into) {
    auto* t = table(self);
    t->beginUpdates();
    for (const auto& p : indexPathsOf(paths)) (t->pending_.*into).insert(p);
    t->endUpdates();
}

void setUpCell(UITableViewCell* c) {
    if (c->contentView_) return;
    Rect bounds(0, 0, c->bounds_.size.width, c->bounds_.size.height);
    c->contentView_ = UIView::make("UIView", bounds);
    sel::setAutoresizingMask_(c->contentView_, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::addSubview_(c, c->contentView_);
    c->textLabel_ = UIView::make<UILabel>("UILabel", Rect(15, 0, std::max(0.0, bounds.width() - 30), bounds.height()));
    sel::addSubview_(c->contentView_, c->textLabel_);
    if (c->style_ != UITableViewCellStyleDefault) {
        c->detailTextLabel_ = UIView::make<UILabel>("UILabel", Rect());
        sel::addSubview_(c->contentView_, c->detailTextLabel_);
    }
}

void layoutCell(id self) {
    auto* c = cell(self);
    Size size = c->bounds_.size;
    double reserved = 0;
    if (c->accessoryView_) {
        Size a = c->accessoryView_->bounds_.size;
        sel::setFrame_(c->accessoryView_, Rect(size.width - 15 - a.width, (size.height - a.height) / 2, a.width, a.height));
        reserved = a.width + 30;
    } else if (c->accessoryType_ != UITableViewCellAccessoryNone) {
        reserved = UITableViewCell::kDisclosureWidth;
    }
    double contentWidth = std::max(0.0, size.width - reserved);
    if (c->contentView_) sel::setFrame_(c->contentView_, Rect(0, 0, contentWidth, size.height));
    if (c->textLabel_) sel::setFrame_(c->textLabel_, Rect(15, 0, std::max(0.0, contentWidth - 30), size.height));
    if (c->detailTextLabel_) {
        Size fits = sel::sizeThatFits_(c->detailTextLabel_, Size{});
        sel::setFrame_(c->detailTextLabel_, Rect(contentWidth - 15 - fits.width, (size.height - fits.height) / 2, fits.width, fits.height));
    }
}

}  // namespace

namespace uikit::detail {

void registerTableView() {
    ClassBuilder<NSIndexPath>("NSIndexPath", "NSObject")
        .classMethod(sel::indexPathForRow_inSection_,
                     [](id, long long row, long long section) -> Ref<Object> { return NSIndexPath::make(section, row); })
        .method(sel::row, [](id self) { return as<NSIndexPath>(self)->path.row; })
        .method(sel::section, [](id self) { return as<NSIndexPath>(self)->path.section; })
        .method(sel::isEqual_,
                [](id self, id other) {
                    auto* o = as<NSIndexPath>(other);
                    return o && o->path == as<NSIndexPath>(self)->path;
                })
        .method(sel::hash,
                [](id self) {
                    const IndexPath& p = as<NSIndexPath>(self)->path;
                    return static_cast<unsigned long>(p.section * 1000003 + p.row);
                })
        .method(sel::description, [](id self) {
            const IndexPath& p = as<NSIndexPath>(self)->path;
            return Value(format("<NSIndexPath: %p> {length = 2, path = %ld - %ld}", self, p.section, p.row));
        });

    ClassBuilder<UIScrollView>("UIScrollView", "UIView")
        .method(sel::contentOffset, [](id self) { return as<UIScrollView>(self)->bounds_.origin; })
        .method(sel::setContentOffset_,
                [](id self, Point offset) {
                    auto* v = as<UIScrollView>(self);
                    if (v->bounds_.origin == offset) return;
                    sel::setBounds_(self, Rect(offset, v->bounds_.size));
                    // Scrolling lays the content out again (a table brings in the rows that came into view).
                    markNeedsLayout(v);
                })
        .property<&UIScrollView::contentSize_>(sel::contentSize, sel::setContentSize_)
        .property<&UIScrollView::alwaysBounceVertical_>(sel::alwaysBounceVertical, sel::setAlwaysBounceVertical_)
        .property<&UIScrollView::scrollEnabled_>(sel::isScrollEnabled, sel::setScrollEnabled_)
        .property<&UIScrollView::bounces_>(sel::bounces, sel::setBounces_)
        .property<&UIScrollView::scrollsToTop_>(sel::scrollsToTop, sel::setScrollsToTop_);

    ClassBuilder<UITableView>("UITableView", "UIScrollView")
        .method(sel::initWithFrame_, [](id self, Rect frame) { return sel::initWithFrame_style_(self, frame, UITableViewStylePlain); })
        .method(sel::initWithFrame_style_,
                [](id self, Rect frame, long long style) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_.super(tableClass(), self, frame);
                    if (auto* t = table(base.get())) {
                        t->style_ = style;
                        t->sectionHeaderHeight_ = style == UITableViewStyleGrouped ? 35 : 0;
                    }
                    return base;
                })
        .method(sel::style, [](id self) { return table(self)->style_; })
        .property<&UITableView::separatorStyle_>(sel::separatorStyle, sel::setSeparatorStyle_)
        .method(sel::dataSource, [](id self) { return table(self)->dataSource_.lock(); })
        .method(sel::setDataSource_,
                [](id self, id source) {
                    auto* t = table(self);
                    t->dataSource_ = source;
                    sel::reloadData(self);
                })
        .method(sel::delegate, [](id self) { return table(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { table(self)->delegate_ = delegate; })
        .method(sel::rowHeight, [](id self) { return table(self)->rowHeight_; })
        .method(sel::setRowHeight_,
                [](id self, double h) {
                    table(self)->rowHeight_ = h;
                    markNeedsLayout(table(self));
                })
        .method(sel::tableHeaderView, [](id self) -> Ref<Object> { return table(self)->tableHeaderView_; })
        .method(sel::setTableHeaderView_,
                [](id self, id view) {
                    auto* t = table(self);
                    Ref<UIView> next(as<UIView>(view));
                    if (next == t->tableHeaderView_) return;
                    if (t->tableHeaderView_ && t->tableHeaderView_->superview().get() == t) removeSubview(t->tableHeaderView_);
                    t->tableHeaderView_ = next;
                    if (next) {
                        // The header spans the table at the top of its content.
                        sel::setFrame_(next, Rect(0, 0, t->bounds_.size.width, next->frameValue().height()));
                        insertSubview(t, next, 0);
                    }
                    markNeedsLayout(t);
                })
        .method(sel::reloadData,
                [](id self) {
                    auto* t = table(self);
                    Ref<UITableView> protector(t);
                    auto cells = std::move(t->cells_);
                    t->cells_.clear();
                    for (const auto& [path, c] : cells)
                        if (c->superview().get() == t) removeSubview(c);
                    t->dataLoaded_ = false;
                    t->rowCounts_.clear();
                    t->rowHeights_.clear();
                    t->selectedRows_.clear();
                    t->dropHeaderViews();
                    markNeedsLayout(t);
                })
        .method(sel::reloadRowsAtIndexPaths_withRowAnimation_,
                [](id self, Value paths, long long) { queue(self, paths, &UITableView::Updates::reloaded); })
        .method(sel::insertRowsAtIndexPaths_withRowAnimation_,
                [](id self, Value paths, long long) { queue(self, paths, &UITableView::Updates::inserted); })
        .method(sel::deleteRowsAtIndexPaths_withRowAnimation_,
                [](id self, Value paths, long long) { queue(self, paths, &UITableView::Updates::deleted); })
        .method(sel::beginUpdates, [](id self) { table(self)->beginUpdates(); })
        .method(sel::endUpdates, [](id self) { table(self)->endUpdates(); })
        .method(sel::numberOfSections, [](id self) { return table(self)->sectionCount(); })
        .method(sel::numberOfRowsInSection_, [](id self, long long s) { return table(self)->rowCount(s); })
        .method(sel::indexPathsForVisibleRows, [](id self) { return indexPathArray(table(self)->visibleRows()); })
        .method(sel::visibleCells,
                [](id self) {
                    auto* t = table(self);
                    t->updateVisibleCells();
                    Value::Array out;
                    for (const auto& [path, c] : t->cells_) out.emplace_back(c);
                    return Value(std::move(out));
                })
        .method(sel::cellForRowAtIndexPath_, [](id self, id path) -> Ref<Object> { return table(self)->visibleCell(pathOf(path)); })
        .method(sel::rectForRowAtIndexPath_, [](id self, id path) { return table(self)->rectForRow(pathOf(path)); })
        .method(sel::layoutSubviews, [](id self) { table(self)->updateVisibleCells(); })
        .method(sel::isEditing, [](id self) { return table(self)->editing_; })
        .method(sel::setEditing_animated_,
                [](id self, bool editing, bool) {
                    auto* t = table(self);
                    if (t->editing_ == editing) return;
                    t->editing_ = editing;
                    auto selected = t->selectedRows_;
                    for (const auto& path : selected) t->deselectRow(path);
                    markNeedsLayout(t);
                })
        .property<&UITableView::allowsSelectionDuringEditing_>(sel::allowsSelectionDuringEditing, sel::setAllowsSelectionDuringEditing_)
        .property<&UITableView::allowsMultipleSelectionDuringEditing_>(sel::allowsMultipleSelectionDuringEditing,
                                                                        sel::setAllowsMultipleSelectionDuringEditing_)
        .method(sel::selectRowAtIndexPath_animated_scrollPosition_,
                [](id self, id path, bool, long long) {
                    auto* t = table(self);
                    IndexPath p = pathOf(path);
                    // Without multiple selection the row replaces the selection.
                    if (!t->multipleSelectionActive()) {
                        auto others = t->selectedRows_;
                        for (const auto& other : others)
                            if (other != p) t->deselectRow(other);
                    }
                    t->selectRow(p);
                })
        .method(sel::deselectRowAtIndexPath_animated_, [](id self, id path, bool) { table(self)->deselectRow(pathOf(path)); })
        .method(sel::indexPathsForSelectedRows,
                [](id self) {
                    const auto& selected = table(self)->selectedRows_;
                    return selected.empty() ? Value() : indexPathArray(std::vector<IndexPath>(selected.begin(), selected.end()));
                })
        .method(sel::indexPathForSelectedRow,
                [](id self) -> Ref<Object> {
                    const auto& selected = table(self)->selectedRows_;
                    if (selected.empty()) return nullptr;
                    return NSIndexPath::make(selected.begin()->section, selected.begin()->row);
                })
        .method(sel::indexPathForRowAtPoint_,
                [](id self, Point p) -> Ref<Object> {
                    IndexPath path = table(self)->rowAtPoint(p);
                    if (path.row < 0) return nullptr;
                    return NSIndexPath::make(path.section, path.row);
                })
        // A touch that begins and ends on one row taps it.
        .method(sel::touchesBegan_withEvent_,
                [](id self, Value touches, id) {
                    auto* t = table(self);
                    auto* touch = touches.at(0).objectAs<UITouch>();
                    t->touchedRow_ = touch ? t->rowAtPoint(touch->locationInView(t)) : IndexPath{-1, -1};
                })
        .method(sel::touchesMoved_withEvent_, [](id, Value, id) {})
        .method(sel::touchesEnded_withEvent_,
                [](id self, Value touches, id) {
                    auto* t = table(self);
                    IndexPath began = t->touchedRow_;
                    t->touchedRow_ = IndexPath{-1, -1};
                    auto* touch = touches.at(0).objectAs<UITouch>();
                    if (touch && began.row >= 0 && t->rowAtPoint(touch->locationInView(t)) == began) t->tapRow(began);
                })
        .method(sel::touchesCancelled_withEvent_, [](id self, Value, id) { table(self)->touchedRow_ = IndexPath{-1, -1}; });

    ClassBuilder<UITableViewCell>("UITableViewCell", "UIView")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_.super(cellClass(), self, frame);
                    if (auto* c = cell(base.get())) setUpCell(c);
                    return base;
                })
        .method(sel::initWithStyle_reuseIdentifier_,
                [](id self, long long style, Value reuseIdentifier) -> Ref<Object> {
                    if (auto* c = cell(self)) {
                        c->style_ = style;
                        c->reuseIdentifier_ = reuseIdentifier;
                    }
                    return sel::initWithFrame_(self, Rect(0, 0, UITableViewCell::kDefaultWidth, UITableViewCell::kDefaultHeight));
                })
        .method(sel::reuseIdentifier, [](id self) { return cell(self)->reuseIdentifier_; })
        .method(sel::contentView, [](id self) -> Ref<Object> { return cell(self)->contentView_; })
        .method(sel::textLabel, [](id self) -> Ref<Object> { return cell(self)->textLabel_; })
        .method(sel::detailTextLabel, [](id self) -> Ref<Object> { return cell(self)->detailTextLabel_; })
        .method(sel::accessoryType, [](id self) { return cell(self)->accessoryType_; })
        .method(sel::setAccessoryType_,
                [](id self, long long type) {
                    cell(self)->accessoryType_ = type;
                    markNeedsLayout(cell(self));
                })
        .method(sel::accessoryView, [](id self) -> Ref<Object> { return cell(self)->accessoryView_; })
        .method(sel::setAccessoryView_,
                [](id self, id view) {
                    auto* c = cell(self);
                    Ref<UIView> next(as<UIView>(view));
                    if (next == c->accessoryView_) return;
                    if (c->accessoryView_ && c->accessoryView_->superview().get() == c) removeSubview(c->accessoryView_);
                    c->accessoryView_ = next;
                    if (next) sel::addSubview_(c, next);
                    markNeedsLayout(c);
                })
        .method(sel::selectionStyle, [](id self) { return cell(self)->selectionStyle_; })
        .method(sel::setSelectionStyle_, [](id self, long long s) { cell(self)->selectionStyle_ = s; })
        .method(sel::backgroundView, [](id self) -> Ref<Object> { return cell(self)->backgroundView_; })
        .method(sel::setBackgroundView_, [](id self, id view) { cell(self)->backgroundView_ = Ref<UIView>(as<UIView>(view)); })
        .method(sel::selectedBackgroundView, [](id self) -> Ref<Object> { return cell(self)->selectedBackgroundView_; })
        .method(sel::setSelectedBackgroundView_, [](id self, id view) { cell(self)->selectedBackgroundView_ = Ref<UIView>(as<UIView>(view)); })
        .method(sel::isSelected, [](id self) { return cell(self)->selected_; })
        .method(sel::setSelected_, [](id self, bool selected) { sel::setSelected_animated_(self, selected, false); })
        .method(sel::setSelected_animated_, [](id self, bool selected, bool) { cell(self)->selected_ = selected; })
        .method(sel::layoutSubviews, &layoutCell);
}

}  // namespace uikit::detail
}  // namespace platform
