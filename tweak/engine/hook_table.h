// The hook table: every method the tweak replaces or adds, with the iOS
// version gate under which it is installed, as data. RousaInstallHooks walks
// it gate by gate.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "tweak/engine/selectors.h"

namespace rousa {

enum class Gate { iOS7, iOS7or8, iOS8or9up, iOS8, iOS9up, All };

struct HookRow {
    enum class Kind { Replace, ReplaceClassMethod, Add };
    Gate gate;
    std::string cls;
    std::string selector;
    Kind kind;
    IMP implementation;                   // the replacement or added implementation
    std::function<void(Class*)> install;  // given the class; the metaclass for class methods
};

// MSHookMessageEx on the class.
template <class R, class... A>
HookRow replace(Gate gate, const char* cls, Sel<R(id, A...)> s, std::type_identity_t<R (*)(id, A...)> replacement,
                std::type_identity_t<R (*)(id, A...)>* previous) {
    return {gate, cls, s.name, HookRow::Kind::Replace, reinterpret_cast<IMP>(replacement),
            [=](Class* c) { MSHookMessageEx(c, s, replacement, previous); }};
}
// MSHookMessageEx on the class's metaclass.
template <class R, class... A>
HookRow replaceClassMethod(Gate gate, const char* cls, Sel<R(id, A...)> s, std::type_identity_t<R (*)(id, A...)> replacement,
                           std::type_identity_t<R (*)(id, A...)>* previous) {
    return {gate, cls, s.name, HookRow::Kind::ReplaceClassMethod, reinterpret_cast<IMP>(replacement),
            [=](Class* c) { MSHookMessageEx(c, s, replacement, previous); }};
}
// class_addMethod.
template <class R, class... A>
HookRow add(Gate gate, const char* cls, Sel<R(id, A...)> s, std::type_identity_t<R (*)(id, A...)> implementation) {
    return {gate, cls, s.name, HookRow::Kind::Add, reinterpret_cast<IMP>(implementation),
            [=](Class* c) { class_addMethod(c, s, implementation); }};
}

// The tweak's table, in the order its rows are listed.
const std::vector<HookRow>& hookTable();

bool gateIsOpen(Gate gate);
// Installs the rows gate by gate (iOS 7, iOS 7 or 8, iOS 8 or 9+, iOS 8,
// iOS 9+), each gate's rows in table order, then runs `functionHooks`, then
// the rows marked all. A row whose class is missing installs nothing.
void installHookRows(std::span<const HookRow> rows, const std::function<void()>& functionHooks);

}  // namespace rousa
