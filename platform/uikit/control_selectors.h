// The selectors of UIKit's scroll and table views, their cells, the value
// controls (switch, slider, text field, date picker), the navigation bar and
// its items, action sheets and alert views; each declared once with its
// signature. Included by selectors.h, so that a second declaration anywhere
// fails to compile. Index paths are NSIndexPath objects; arrays of them are
// Values. A variadic list of button titles is a Value: nil or an array.
#pragma once

#include "platform/foundation/range.h"
#include "platform/runtime/nsobject.h"

namespace platform::sel {

// --- NSIndexPath (UIKit's rows) -------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, long long, long long)> indexPathForRow_inSection_{"indexPathForRow:inSection:"};  // class method
inline constexpr Sel<long long(id)> row{"row"};
inline constexpr Sel<long long(id)> section{"section"};

// --- UIScrollView -----------------------------------------------------------------------
inline constexpr Sel<Point(id)> contentOffset{"contentOffset"};
inline constexpr Sel<void(id, Point)> setContentOffset_{"setContentOffset:"};
inline constexpr Sel<Size(id)> contentSize{"contentSize"};
inline constexpr Sel<void(id, Size)> setContentSize_{"setContentSize:"};
inline constexpr Sel<bool(id)> alwaysBounceVertical{"alwaysBounceVertical"};
inline constexpr Sel<void(id, bool)> setAlwaysBounceVertical_{"setAlwaysBounceVertical:"};
inline constexpr Sel<bool(id)> isScrollEnabled{"isScrollEnabled"};
inline constexpr Sel<void(id, bool)> setScrollEnabled_{"setScrollEnabled:"};
inline constexpr Sel<bool(id)> bounces{"bounces"};
inline constexpr Sel<void(id, bool)> setBounces_{"setBounces:"};
inline constexpr Sel<bool(id)> scrollsToTop{"scrollsToTop"};
inline constexpr Sel<void(id, bool)> setScrollsToTop_{"setScrollsToTop:"};

// --- UITableView ---------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Rect, long long)> initWithFrame_style_{"initWithFrame:style:"};
inline constexpr Sel<long long(id)> style{"style"};
inline constexpr Sel<Ref<Object>(id)> dataSource{"dataSource"};
inline constexpr Sel<void(id, id)> setDataSource_{"setDataSource:"};
inline constexpr Sel<double(id)> rowHeight{"rowHeight"};
inline constexpr Sel<void(id, double)> setRowHeight_{"setRowHeight:"};
inline constexpr Sel<Ref<Object>(id)> tableHeaderView{"tableHeaderView"};
inline constexpr Sel<void(id, id)> setTableHeaderView_{"setTableHeaderView:"};
inline constexpr Sel<long long(id)> separatorStyle{"separatorStyle"};
inline constexpr Sel<void(id, long long)> setSeparatorStyle_{"setSeparatorStyle:"};
inline constexpr Sel<void(id)> reloadData{"reloadData"};
inline constexpr Sel<void(id, Value, long long)> reloadRowsAtIndexPaths_withRowAnimation_{"reloadRowsAtIndexPaths:withRowAnimation:"};
inline constexpr Sel<void(id, Value, long long)> insertRowsAtIndexPaths_withRowAnimation_{"insertRowsAtIndexPaths:withRowAnimation:"};
inline constexpr Sel<void(id, Value, long long)> deleteRowsAtIndexPaths_withRowAnimation_{"deleteRowsAtIndexPaths:withRowAnimation:"};
inline constexpr Sel<void(id)> beginUpdates{"beginUpdates"};
inline constexpr Sel<void(id)> endUpdates{"endUpdates"};
inline constexpr Sel<long long(id)> numberOfSections{"numberOfSections"};
inline constexpr Sel<long long(id, long long)> numberOfRowsInSection_{"numberOfRowsInSection:"};
inline constexpr Sel<Value(id)> indexPathsForVisibleRows{"indexPathsForVisibleRows"};
inline constexpr Sel<Value(id)> visibleCells{"visibleCells"};
// The cell of a visible row, nil for any other.
inline constexpr Sel<Ref<Object>(id, id)> cellForRowAtIndexPath_{"cellForRowAtIndexPath:"};
inline constexpr Sel<Rect(id, id)> rectForRowAtIndexPath_{"rectForRowAtIndexPath:"};

// The table's data source and delegate.
inline constexpr Sel<long long(id, id)> numberOfSectionsInTableView_{"numberOfSectionsInTableView:"};
inline constexpr Sel<long long(id, id, long long)> tableView_numberOfRowsInSection_{"tableView:numberOfRowsInSection:"};
inline constexpr Sel<Ref<Object>(id, id, id)> tableView_cellForRowAtIndexPath_{"tableView:cellForRowAtIndexPath:"};
inline constexpr Sel<void(id, id, id)> tableView_didSelectRowAtIndexPath_{"tableView:didSelectRowAtIndexPath:"};
inline constexpr Sel<Value(id, id, long long)> tableView_titleForHeaderInSection_{"tableView:titleForHeaderInSection:"};
inline constexpr Sel<Value(id, id, long long)> tableView_titleForFooterInSection_{"tableView:titleForFooterInSection:"};
// A header view of the delegate's, and its height (a negative height: the table's own).
inline constexpr Sel<Ref<Object>(id, id, long long)> tableView_viewForHeaderInSection_{"tableView:viewForHeaderInSection:"};
inline constexpr Sel<double(id, id, long long)> tableView_heightForHeaderInSection_{"tableView:heightForHeaderInSection:"};

// --- UITableView: editing and selection ---------------------------------------------------
inline constexpr Sel<bool(id)> isEditing{"isEditing"};
inline constexpr Sel<void(id, bool, bool)> setEditing_animated_{"setEditing:animated:"};
inline constexpr Sel<bool(id)> allowsSelectionDuringEditing{"allowsSelectionDuringEditing"};
inline constexpr Sel<void(id, bool)> setAllowsSelectionDuringEditing_{"setAllowsSelectionDuringEditing:"};
inline constexpr Sel<bool(id)> allowsMultipleSelectionDuringEditing{"allowsMultipleSelectionDuringEditing"};
inline constexpr Sel<void(id, bool)> setAllowsMultipleSelectionDuringEditing_{"setAllowsMultipleSelectionDuringEditing:"};
// (index path, animated, scroll position)
inline constexpr Sel<void(id, id, bool, long long)> selectRowAtIndexPath_animated_scrollPosition_{"selectRowAtIndexPath:animated:scrollPosition:"};
inline constexpr Sel<void(id, id, bool)> deselectRowAtIndexPath_animated_{"deselectRowAtIndexPath:animated:"};
inline constexpr Sel<Value(id)> indexPathsForSelectedRows{"indexPathsForSelectedRows"};
inline constexpr Sel<Ref<Object>(id)> indexPathForSelectedRow{"indexPathForSelectedRow"};
// nil when no row is at the point (the table's own coordinates).
inline constexpr Sel<Ref<Object>(id, Point)> indexPathForRowAtPoint_{"indexPathForRowAtPoint:"};
// The delegate's and the data source's, each optional.
inline constexpr Sel<double(id, id, id)> tableView_heightForRowAtIndexPath_{"tableView:heightForRowAtIndexPath:"};
inline constexpr Sel<bool(id, id, id)> tableView_shouldHighlightRowAtIndexPath_{"tableView:shouldHighlightRowAtIndexPath:"};
inline constexpr Sel<void(id, id, id)> tableView_didDeselectRowAtIndexPath_{"tableView:didDeselectRowAtIndexPath:"};
inline constexpr Sel<bool(id, id, id)> tableView_canEditRowAtIndexPath_{"tableView:canEditRowAtIndexPath:"};
inline constexpr Sel<long long(id, id, id)> tableView_editingStyleForRowAtIndexPath_{"tableView:editingStyleForRowAtIndexPath:"};
inline constexpr Sel<void(id, id, long long, id)> tableView_commitEditingStyle_forRowAtIndexPath_{"tableView:commitEditingStyle:forRowAtIndexPath:"};
// UITableViewCell (isSelected and setSelected: are UIControl's).
inline constexpr Sel<void(id, bool, bool)> setSelected_animated_{"setSelected:animated:"};

// --- UITableViewCell --------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, long long, Value)> initWithStyle_reuseIdentifier_{"initWithStyle:reuseIdentifier:"};
inline constexpr Sel<Value(id)> reuseIdentifier{"reuseIdentifier"};
inline constexpr Sel<Ref<Object>(id)> textLabel{"textLabel"};
inline constexpr Sel<Ref<Object>(id)> detailTextLabel{"detailTextLabel"};
inline constexpr Sel<long long(id)> accessoryType{"accessoryType"};
inline constexpr Sel<void(id, long long)> setAccessoryType_{"setAccessoryType:"};
inline constexpr Sel<Ref<Object>(id)> accessoryView{"accessoryView"};
inline constexpr Sel<void(id, id)> setAccessoryView_{"setAccessoryView:"};
inline constexpr Sel<long long(id)> selectionStyle{"selectionStyle"};
inline constexpr Sel<void(id, long long)> setSelectionStyle_{"setSelectionStyle:"};
inline constexpr Sel<Ref<Object>(id)> backgroundView{"backgroundView"};
inline constexpr Sel<void(id, id)> setBackgroundView_{"setBackgroundView:"};
inline constexpr Sel<Ref<Object>(id)> selectedBackgroundView{"selectedBackgroundView"};
inline constexpr Sel<void(id, id)> setSelectedBackgroundView_{"setSelectedBackgroundView:"};

// --- UISwitch ---------------------------------------------------------------------------------
inline constexpr Sel<bool(id)> isOn{"isOn"};
inline constexpr Sel<void(id, bool)> setOn_{"setOn:"};
inline constexpr Sel<void(id, bool, bool)> setOn_animated_{"setOn:animated:"};
inline constexpr Sel<Ref<Object>(id)> onTintColor{"onTintColor"};
inline constexpr Sel<void(id, id)> setOnTintColor_{"setOnTintColor:"};

// --- UISlider ---------------------------------------------------------------------------------
inline constexpr Sel<float(id)> value{"value"};
inline constexpr Sel<void(id, float)> setValue_{"setValue:"};
inline constexpr Sel<void(id, float, bool)> setValue_animated_{"setValue:animated:"};
inline constexpr Sel<float(id)> minimumValue{"minimumValue"};
inline constexpr Sel<void(id, float)> setMinimumValue_{"setMinimumValue:"};
inline constexpr Sel<float(id)> maximumValue{"maximumValue"};
inline constexpr Sel<void(id, float)> setMaximumValue_{"setMaximumValue:"};

// --- UITextField (text, delegate: the UILabel and CALayer selectors) ---------------------------------
inline constexpr Sel<long long(id)> keyboardType{"keyboardType"};
inline constexpr Sel<void(id, long long)> setKeyboardType_{"setKeyboardType:"};
inline constexpr Sel<Value(id)> placeholder{"placeholder"};
inline constexpr Sel<void(id, Value)> setPlaceholder_{"setPlaceholder:"};
// Its delegate (each optional).
inline constexpr Sel<bool(id, id, NSRange, Value)> textField_shouldChangeCharactersInRange_replacementString_{
    "textField:shouldChangeCharactersInRange:replacementString:"};
inline constexpr Sel<bool(id, id)> textFieldShouldReturn_{"textFieldShouldReturn:"};
inline constexpr Sel<void(id, id)> textFieldDidBeginEditing_{"textFieldDidBeginEditing:"};
inline constexpr Sel<void(id, id)> textFieldDidEndEditing_{"textFieldDidEndEditing:"};

// --- UIDatePicker -----------------------------------------------------------------------------------
inline constexpr Sel<long long(id)> datePickerMode{"datePickerMode"};
inline constexpr Sel<void(id, long long)> setDatePickerMode_{"setDatePickerMode:"};
inline constexpr Sel<double(id)> countDownDuration{"countDownDuration"};
inline constexpr Sel<void(id, double)> setCountDownDuration_{"setCountDownDuration:"};

// --- UIAppearance, UINavigationBar, UINavigationItem, UIBarButtonItem -------------------------------------
// Class method: the proxy whose settings instances of the class take.
inline constexpr Sel<Ref<Object>(id)> appearance{"appearance"};
// Class method: the proxy for instances inside a container (a view or a view
// controller) of the class given; one container class.
inline constexpr Sel<Ref<Object>(id, id)> appearanceWhenContainedIn_{"appearanceWhenContainedIn:"};
inline constexpr Sel<Ref<Object>(id)> navigationItem{"navigationItem"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithTitle_{"initWithTitle:"};
inline constexpr Sel<Ref<Object>(id)> titleView{"titleView"};
inline constexpr Sel<void(id, id)> setTitleView_{"setTitleView:"};
// UINavigationController's bar, and the bar a navigation item is shown in (nil when none).
inline constexpr Sel<Ref<Object>(id)> navigationBar{"navigationBar"};
inline constexpr Sel<Ref<Object>(id)> barTintColor{"barTintColor"};
inline constexpr Sel<void(id, id)> setBarTintColor_{"setBarTintColor:"};
inline constexpr Sel<Ref<Object>(id)> leftBarButtonItem{"leftBarButtonItem"};
inline constexpr Sel<void(id, id)> setLeftBarButtonItem_{"setLeftBarButtonItem:"};
inline constexpr Sel<Ref<Object>(id)> rightBarButtonItem{"rightBarButtonItem"};
inline constexpr Sel<void(id, id)> setRightBarButtonItem_{"setRightBarButtonItem:"};
inline constexpr Sel<Ref<Object>(id, long long, id, SEL)> initWithBarButtonSystemItem_target_action_{
    "initWithBarButtonSystemItem:target:action:"};
inline constexpr Sel<Ref<Object>(id, Value, long long, id, SEL)> initWithTitle_style_target_action_{"initWithTitle:style:target:action:"};
inline constexpr Sel<Ref<Object>(id, id, long long, id, SEL)> initWithImage_style_target_action_{"initWithImage:style:target:action:"};
// The items on the right, the first one being rightBarButtonItem.
inline constexpr Sel<Value(id)> rightBarButtonItems{"rightBarButtonItems"};
inline constexpr Sel<void(id, Value)> setRightBarButtonItems_{"setRightBarButtonItems:"};
inline constexpr Sel<Ref<Object>(id, id)> initWithCustomView_{"initWithCustomView:"};
inline constexpr Sel<Ref<Object>(id)> customView{"customView"};
// 0: as wide as its content.
inline constexpr Sel<double(id)> width{"width"};
inline constexpr Sel<void(id, double)> setWidth_{"setWidth:"};
inline constexpr Sel<Ref<Object>(id)> target{"target"};
inline constexpr Sel<SEL(id)> action{"action"};
// The actions of the buttons a bar shows: a bar button item's, sent to the
// item, and the back button's, sent to the navigation bar.
inline constexpr Sel<void(id, id)> _itemButtonTapped_{"_itemButtonTapped:"};
inline constexpr Sel<void(id, id)> _backButtonTapped_{"_backButtonTapped:"};

// --- UIToolbar ------------------------------------------------------------------------------------------------
inline constexpr Sel<Value(id)> items{"items"};
inline constexpr Sel<void(id, Value)> setItems_{"setItems:"};
inline constexpr Sel<void(id, Value, bool)> setItems_animated_{"setItems:animated:"};

// --- UIActivityIndicatorView ------------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, long long)> initWithActivityIndicatorStyle_{"initWithActivityIndicatorStyle:"};
inline constexpr Sel<long long(id)> activityIndicatorViewStyle{"activityIndicatorViewStyle"};
inline constexpr Sel<void(id)> startAnimating{"startAnimating"};
inline constexpr Sel<void(id)> stopAnimating{"stopAnimating"};
inline constexpr Sel<bool(id)> isAnimating{"isAnimating"};
inline constexpr Sel<Ref<Object>(id)> color{"color"};
inline constexpr Sel<void(id, id)> setColor_{"setColor:"};

// --- UISegmentedControl (the titles are strings) -------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Value)> initWithItems_{"initWithItems:"};
inline constexpr Sel<long long(id)> selectedSegmentIndex{"selectedSegmentIndex"};
inline constexpr Sel<void(id, long long)> setSelectedSegmentIndex_{"setSelectedSegmentIndex:"};
inline constexpr Sel<unsigned long long(id)> numberOfSegments{"numberOfSegments"};
inline constexpr Sel<Value(id, unsigned long long)> titleForSegmentAtIndex_{"titleForSegmentAtIndex:"};
// --- UINavigationController -----------------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, id)> initWithRootViewController_{"initWithRootViewController:"};
inline constexpr Sel<void(id, id, bool)> pushViewController_animated_{"pushViewController:animated:"};
inline constexpr Sel<Ref<Object>(id, bool)> popViewControllerAnimated_{"popViewControllerAnimated:"};
inline constexpr Sel<Ref<Object>(id)> topViewController{"topViewController"};
inline constexpr Sel<Value(id)> viewControllers{"viewControllers"};
inline constexpr Sel<void(id, Value, bool)> setViewControllers_animated_{"setViewControllers:animated:"};
// UIViewController's: the navigation controller whose stack holds it (or holds a controller that contains it).
inline constexpr Sel<Ref<Object>(id)> navigationController{"navigationController"};

// --- UIActionSheet and UIAlertView --------------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Value, id, Value, Value, Value)>
    initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles_{
        "initWithTitle:delegate:cancelButtonTitle:destructiveButtonTitle:otherButtonTitles:"};
inline constexpr Sel<Ref<Object>(id, Value, Value, id, Value, Value)> initWithTitle_message_delegate_cancelButtonTitle_otherButtonTitles_{
    "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"};
inline constexpr Sel<long long(id, Value)> addButtonWithTitle_{"addButtonWithTitle:"};
inline constexpr Sel<long long(id)> numberOfButtons{"numberOfButtons"};
inline constexpr Sel<Value(id, long long)> buttonTitleAtIndex_{"buttonTitleAtIndex:"};
inline constexpr Sel<long long(id)> cancelButtonIndex{"cancelButtonIndex"};
inline constexpr Sel<void(id, long long)> setCancelButtonIndex_{"setCancelButtonIndex:"};
inline constexpr Sel<bool(id)> isVisible{"isVisible"};
inline constexpr Sel<void(id, id)> showInView_{"showInView:"};
inline constexpr Sel<void(id, Rect, id, bool)> showFromRect_inView_animated_{"showFromRect:inView:animated:"};
inline constexpr Sel<void(id)> show{"show"};
inline constexpr Sel<void(id, long long, bool)> dismissWithClickedButtonIndex_animated_{"dismissWithClickedButtonIndex:animated:"};
inline constexpr Sel<Value(id)> message{"message"};
inline constexpr Sel<void(id, Value)> setMessage_{"setMessage:"};
inline constexpr Sel<long long(id)> alertViewStyle{"alertViewStyle"};
inline constexpr Sel<void(id, long long)> setAlertViewStyle_{"setAlertViewStyle:"};
inline constexpr Sel<Ref<Object>(id, long long)> textFieldAtIndex_{"textFieldAtIndex:"};
// The actions of the buttons they show (the button's tag is its index) and of a tap outside them.
inline constexpr Sel<void(id, id)> _alertButtonTapped_{"_alertButtonTapped:"};
inline constexpr Sel<void(id, id)> _alertOutsideTapped_{"_alertOutsideTapped:"};
// Their delegates.
inline constexpr Sel<void(id, id, long long)> actionSheet_clickedButtonAtIndex_{"actionSheet:clickedButtonAtIndex:"};
inline constexpr Sel<void(id, id, long long)> alertView_clickedButtonAtIndex_{"alertView:clickedButtonAtIndex:"};

}  // namespace platform::sel
