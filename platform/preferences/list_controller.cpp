#include "platform/preferences/list_controller.h"

#include <algorithm>
#include <functional>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/plist.h"
#include "platform/preferences/table_cell.h"
#include "platform/uikit/screen.h"

namespace platform {

namespace {

Class* itemsClass() {
    static Class* c = objc_getClass("PSListItemsController");
    return c;
}

PSListController* page(id self) { return as<PSListController>(self); }

IndexPath pathOf(id indexPath) {
    auto* p = as<NSIndexPath>(indexPath);
    return p ? p->path : IndexPath{-1, -1};
}

// The group that heads a section of the page; null for none.
Ref<PSSpecifier> groupOf(id self, long long section) {
    auto all = page(self)->sections();
    if (section < 0 || section >= static_cast<long long>(all.size())) return nullptr;
    return all[static_cast<std::size_t>(section)].group;
}

}  // namespace

std::vector<PSListController::Section> PSListController::sections() {
    std::vector<Section> out;
    for (const Value& v : sel::specifiers(this).array()) {
        Ref<PSSpecifier> s(v.objectAs<PSSpecifier>());
        if (!s) continue;
        if (s->cellType == PSGroupCell) out.push_back(Section{s, {}});
        else {
            if (out.empty()) out.push_back(Section{});
            out.back().rows.push_back(s);
        }
    }
    if (out.empty()) out.push_back(Section{});
    return out;
}

Ref<PSSpecifier> PSListController::rowAt(IndexPath path) {
    auto all = sections();
    if (path.section < 0 || path.section >= static_cast<long long>(all.size())) return nullptr;
    const auto& rows = all[static_cast<std::size_t>(path.section)].rows;
    if (path.row < 0 || path.row >= static_cast<long long>(rows.size())) return nullptr;
    return rows[static_cast<std::size_t>(path.row)];
}

Ref<NSBundle> PSListController::pageBundle() const {
    if (specifier_ && !specifier_->bundlePath.empty())
        if (Ref<NSBundle> b = NSBundle::bundleWithPath(specifier_->bundlePath)) return b;
    return Ref<NSBundle>(NSBundle::mainBundle());
}

namespace preferences {

Value readValue(PSSpecifier* row) {
    if (!row || row->getter.empty()) return Value();
    Ref<Object> target = row->target.lock();
    if (!target) return Value();
    const Value args[] = {Value(row)};
    return invoke(target, row->getter, args);
}

void writeValue(PSSpecifier* row, const Value& value) {
    if (!row || row->setter.empty()) return;
    Ref<Object> target = row->target.lock();
    if (!target) return;
    Ref<PSSpecifier> protector(row);
    const Value args[] = {value, Value(row)};
    invoke(target, row->setter, args);
}

}  // namespace preferences

namespace {

// --- page descriptions and values ----------------------------------------------------------

Value loadSpecifiers(id self, Value name, id target) {
    Ref<NSBundle> bundle = page(self)->pageBundle();
    Value path = bundle && name.isString() ? bundle->pathForResource(name.string(), "plist") : Value();
    Value description = path.isString() ? plist::readFile(path.string()) : Value();
    Value::Array out;
    for (const Value& entry : description["items"].array())
        if (Ref<PSSpecifier> s = PSSpecifier::fromDescription(entry, target, bundle ? bundle->bundlePath() : std::string()))
            out.emplace_back(s);
    return Value(std::move(out));
}

Value readPreferenceValue(id, id specifier) {
    auto* s = as<PSSpecifier>(specifier);
    if (!s) return Value();
    Value key = s->property("key"), domain = s->property("defaults");
    if (key.isString() && domain.isString()) {
        CFPreferencesAppSynchronize(domain.string());
        if (Value stored = CFPreferencesCopyAppValue(key.string(), domain.string()); !stored.isNil()) return stored;
    }
    return s->property("default");
}

void setPreferenceValue(id, Value value, id specifier) {
    auto* s = as<PSSpecifier>(specifier);
    if (!s) return;
    Value key = s->property("key"), domain = s->property("defaults");
    if (!key.isString() || !domain.isString()) return;
    CFPreferencesSetAppValue(key.string(), value, domain.string());
    CFPreferencesAppSynchronize(domain.string());
    if (Value name = s->property("PostNotification"); name.isString() && !name.string().empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, Value(), true);
}

// --- the table ---------------------------------------------------------------------------------

Ref<Object> cellFor(id self, id, id indexPath) {
    Ref<PSSpecifier> s = page(self)->rowAt(pathOf(indexPath));
    std::string className = s && s->cellType == PSEditTextCell ? "PSEditableTableCell" : "PSTableCell";
    if (s)
        if (Value custom = s->property("cellClass"); custom.isString() && objc_getClass(custom.string())) className = custom.string();
    long long style = s && (s->cellType == PSLinkListCell || s->cellType == PSTitleValueCell) ? UITableViewCellStyleValue1
                                                                                             : UITableViewCellStyleDefault;
    return sel::initWithStyle_reuseIdentifier_specifier_(alloc(className), style, Value(className), s.get());
}

void openDetail(id self, PSSpecifier* s) {
    Ref<Object> detail = newObject(s->detailControllerClass);
    if (!detail) return;
    if (as<PSListController>(detail.get())) sel::setSpecifier_(detail, s);
    sel::setTitle_(detail, s->name);
    sel::pushViewController_animated_(sel::navigationController(self), detail, true);
}

void didSelect(id self, id table, id indexPath) {
    Ref<PSListController> protector(page(self));
    Ref<PSSpecifier> s = protector->rowAt(pathOf(indexPath));
    if (!s) return;
    switch (s->cellType) {
        case PSLinkCell:
        case PSLinkListCell:
            openDetail(self, s);
            break;
        case PSButtonCell:
            if (Ref<Object> target = s->target.lock(); target && !s->action.empty()) performSelector(target, s->action, Value(s.get()));
            break;
        case PSEditTextCell:
            if (Ref<Object> cell = sel::cellForRowAtIndexPath_(table, indexPath)) sel::becomeFirstResponder(sel::textField(cell));
            break;
        default:
            break;
    }
}

// --- changes of the rows ----------------------------------------------------------------------------

// Where each element of a list of specifiers is shown, as sections() arranges
// them; a group's row is -1.
std::vector<IndexPath> layoutOf(const Value& list) {
    std::vector<IndexPath> out;
    long long section = -1, row = 0;
    for (const Value& v : list.array()) {
        auto* s = v.objectAs<PSSpecifier>();
        if (s && s->cellType == PSGroupCell) {
            ++section;
            row = 0;
            out.push_back({section, -1});
            continue;
        }
        if (section < 0) section = 0;
        out.push_back({section, row++});
    }
    return out;
}

long long indexIn(const Value& list, const Object* s) {
    for (std::size_t i = 0; i < list.count(); ++i)
        if (list.at(i).object() == s) return static_cast<long long>(i);
    return -1;
}

bool hasGroup(const std::vector<Value>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const Value& v) {
        auto* s = v.objectAs<PSSpecifier>();
        return s && s->cellType == PSGroupCell;
    });
}

// Applies a change of the rows inside a table update, so that the table sees
// the counts before and after; a change of the groups reloads the table.
void changeRows(PSListController* c, bool groups, const std::function<std::vector<IndexPath>()>& change, bool inserting) {
    Ref<PSListController> protector(c);
    Ref<UITableView> table = c->table_;
    if (!table || groups) {
        change();
        if (table) sel::reloadData(table);
        return;
    }
    sel::beginUpdates(table);
    std::vector<IndexPath> paths = change();
    if (inserting) sel::insertRowsAtIndexPaths_withRowAnimation_(table, indexPathArray(paths), UITableViewRowAnimationFade);
    else sel::deleteRowsAtIndexPaths_withRowAnimation_(table, indexPathArray(paths), UITableViewRowAnimationFade);
    sel::endUpdates(table);
}

void insertSpecifiers(id self, Value rows, long long index, bool) {
    auto* c = page(self);
    if (rows.count() == 0) return;
    changeRows(c, hasGroup(rows.array()), [&] {
        Value::Array& list = c->specifiers_.mutableArray();
        auto at = static_cast<std::size_t>(std::clamp<long long>(index, 0, static_cast<long long>(list.size())));
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), rows.array().begin(), rows.array().end());
        auto layout = layoutOf(c->specifiers_);
        return std::vector<IndexPath>(layout.begin() + static_cast<std::ptrdiff_t>(at),
                                      layout.begin() + static_cast<std::ptrdiff_t>(at + rows.count()));
    }, true);
}

void removeSpecifiers(id self, Value rows, bool) {
    auto* c = page(self);
    std::vector<Value> present;
    for (const Value& r : rows.array())
        if (indexIn(c->specifiers_, r.object()) >= 0) present.push_back(r);
    if (present.empty()) return;
    changeRows(c, hasGroup(present), [&] {
        auto layout = layoutOf(c->specifiers_);
        std::vector<IndexPath> paths;
        for (const Value& r : present) paths.push_back(layout[static_cast<std::size_t>(indexIn(c->specifiers_, r.object()))]);
        Value::Array& list = c->specifiers_.mutableArray();
        std::erase_if(list, [&](const Value& v) {
            return std::any_of(present.begin(), present.end(), [&](const Value& r) { return r.object() == v.object(); });
        });
        return paths;
    }, false);
}

void reloadSpecifier(id self, id specifier, bool) {
    auto* c = page(self);
    long long index = indexIn(c->specifiers_, specifier);
    if (index < 0 || !c->table_) return;
    IndexPath path = layoutOf(c->specifiers_)[static_cast<std::size_t>(index)];
    if (path.row >= 0) sel::reloadRowsAtIndexPaths_withRowAnimation_(c->table_, indexPathArray({path}), UITableViewRowAnimationFade);
}

// --- PSListItemsController ------------------------------------------------------------------------

PSListItemsController* items(id self) { return as<PSListItemsController>(self); }

Value itemSpecifiers(id self) {
    auto* c = items(self);
    if (c->specifiers_.count() > 0) return c->specifiers_;
    Value::Array rows;
    rows.emplace_back(PSSpecifier::fromDescription(Value{{"cell", Value("PSGroupCell")}}, self, std::string()));
    if (Ref<PSSpecifier> list = c->specifier_)
        for (const Value& v : list->values.array())
            rows.emplace_back(PSSpecifier::fromDescription(Value{{"cell", Value("PSListItemCell")}, {"label", list->titleOfValue(v, false)}, {"value", v}},
                                                           self, list->bundlePath));
    c->specifiers_ = Value(std::move(rows));
    return c->specifiers_;
}

}  // namespace

namespace preferences {

void registerListControllerClasses() {
    ClassBuilder<PSListController>("PSListController", "UIViewController")
        .ivar<&PSListController::specifiers_>("_specifiers")
        .ivar<&PSListController::specifier_>("_specifier")
        .ivar<&PSListController::table_>("_table")
        .method(sel::loadView,
                [](id self) {
                    auto* c = page(self);
                    sel::specifiers(self);
                    c->table_ = as<UITableView>(sel::initWithFrame_style_(alloc("UITableView"), UIScreen::mainScreen()->bounds(), UITableViewStyleGrouped));
                    sel::setDelegate_(c->table_, self);
                    sel::setDataSource_(c->table_, self);
                    sel::setView_(self, c->table_);
                })
        .method(sel::viewWillAppear_,
                [](id self, bool) {
                    // Rows show what their detail pages changed.
                    if (auto* c = page(self); c->table_) sel::reloadData(c->table_);
                })
        .method(sel::setTitle_,
                [](id self, Value title) {
                    page(self)->title_ = title;
                    sel::setTitle_(sel::navigationItem(self), title);
                })
        .method(sel::specifiers, [](id self) { return page(self)->specifiers_; })
        .method(sel::loadSpecifiersFromPlistName_target_, &loadSpecifiers)
        .method(sel::specifier, [](id self) -> Ref<Object> { return page(self)->specifier_; })
        .method(sel::setSpecifier_, [](id self, id s) { page(self)->specifier_ = Ref<PSSpecifier>(as<PSSpecifier>(s)); })
        .method(sel::readPreferenceValue_, &readPreferenceValue)
        .method(sel::setPreferenceValue_specifier_, &setPreferenceValue)
        .method(sel::insertContiguousSpecifiers_atIndex_animated_, &insertSpecifiers)
        .method(sel::removeContiguousSpecifiers_animated_, &removeSpecifiers)
        .method(sel::reloadSpecifier_animated_, &reloadSpecifier)
        .method(sel::numberOfSectionsInTableView_, [](id self, id) { return static_cast<long long>(page(self)->sections().size()); })
        .method(sel::tableView_numberOfRowsInSection_,
                [](id self, id, long long section) -> long long {
                    auto all = page(self)->sections();
                    return section >= 0 && section < static_cast<long long>(all.size()) ? static_cast<long long>(all[static_cast<std::size_t>(section)].rows.size()) : 0;
                })
        .method(sel::tableView_cellForRowAtIndexPath_, &cellFor)
        .method(sel::tableView_didSelectRowAtIndexPath_, &didSelect)
        .method(sel::tableView_titleForHeaderInSection_,
                [](id self, id, long long section) {
                    Ref<PSSpecifier> group = groupOf(self, section);
                    return group ? group->name : Value();
                })
        .method(sel::tableView_titleForFooterInSection_,
                [](id self, id, long long section) {
                    Ref<PSSpecifier> group = groupOf(self, section);
                    return group ? group->property("footerText") : Value();
                })
        .method(sel::tableView_viewForHeaderInSection_, [](id, id, long long) { return Ref<Object>(); })
        .method(sel::tableView_heightForHeaderInSection_, [](id, id, long long) { return -1.0; });

    ClassBuilder<PSListItemsController>("PSListItemsController", "PSListController")
        .method(sel::specifiers, &itemSpecifiers)
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id self, id table, id indexPath) -> Ref<Object> {
                    Ref<Object> cell = sel::tableView_cellForRowAtIndexPath_.super(itemsClass(), self, table, indexPath);
                    // The cell shows its row: no second walk over the rows.
                    Ref<PSSpecifier> item(as<PSSpecifier>(sel::specifier(cell).get()));
                    Value current = readValue(items(self)->specifier_);
                    if (item && !current.isNil() && item->property("value") == current)
                        sel::setAccessoryType_(cell, UITableViewCellAccessoryCheckmark);
                    return cell;
                })
        .method(sel::tableView_didSelectRowAtIndexPath_, [](id self, id table, id indexPath) {
            Ref<PSListItemsController> protector(items(self));
            Ref<PSSpecifier> item = protector->rowAt(pathOf(indexPath));
            if (!item || item->cellType != PSListItemCell) return;
            writeValue(protector->specifier_, item->property("value"));
            sel::reloadData(table);
        });
}

}  // namespace preferences
}  // namespace platform
