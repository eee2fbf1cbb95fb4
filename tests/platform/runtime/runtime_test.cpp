#include "platform/runtime/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/runtime/nsobject.h"

namespace platform {
namespace {

std::vector<std::string>& trace() {
    static std::vector<std::string> t;
    return t;
}

class Animal : public NSObject {
public:
    bool awake = false;
    float weight = 0;
    Rect box;
    Ref<Object> friend_;
    ~Animal() override { trace().push_back("dealloc"); }
};

namespace tsel {
inline constexpr Sel<Value(id)> speak{"speak"};
inline constexpr Sel<int(id, int)> add_{"add:"};
inline constexpr Sel<void(id)> poke{"poke"};
inline constexpr Sel<void(id, id)> pokeWith_{"pokeWith:"};
inline constexpr Sel<void(id, id, id)> pokeWith_event_{"pokeWith:event:"};
inline constexpr Sel<bool(id)> isAwake{"isAwake"};
inline constexpr Sel<void(id, bool)> setAwake_{"setAwake:"};
inline constexpr Sel<float(id)> weight{"weight"};
inline constexpr Sel<void(id, float)> setWeight_{"setWeight:"};
inline constexpr Sel<Value(id)> kind{"kind"};
inline constexpr Sel<long long(id)> wrongSpeak{"speak"};
}  // namespace tsel

void registerAnimals() {
    runtime::registerClasses();
    ClassBuilder<Animal>("Animal", "NSObject")
        .method(tsel::speak, [](id) { return Value("..."); })
        .method(tsel::add_, [](id, int x) { return x + 1; })
        .method(tsel::poke, [](id) { trace().push_back("poke"); })
        .method(tsel::pokeWith_, [](id, id sender) { trace().push_back(sender ? "pokeWith sender" : "pokeWith nil"); })
        .method(tsel::pokeWith_event_, [](id, id, id event) { trace().push_back(event ? "event" : "no event"); })
        .property<&Animal::awake>(tsel::isAwake, tsel::setAwake_)
        .property<&Animal::weight>(tsel::weight, tsel::setWeight_)
        .ivar<&Animal::box>("_box")
        .ivar<&Animal::friend_>("_friend")
        .classMethod(tsel::kind, [](id) { return Value("animal"); });
    ClassBuilder<Animal>::inheritingType("Dog", "Animal").method(tsel::speak, [](id) { return Value("woof"); });
    ClassBuilder<Animal>::inheritingType("Puppy", "Dog");
}

class Runtime : public testing::Test {
protected:
    void SetUp() override {
        trace().clear();
        registerAnimals();
    }
};

Value (*original_Dog_speak)(id) = nullptr;
Value replaced_Dog_speak(id self) {
    trace().push_back("hook");
    Value v = original_Dog_speak(self);
    trace().push_back("previous said " + v.string());
    return Value("hooked " + v.string());
}

TEST_F(Runtime, HookRunsAndCallsThePrevious) {
    MSHookMessageEx(objc_getClass("Dog"), tsel::speak, &replaced_Dog_speak, &original_Dog_speak);
    ASSERT_NE(original_Dog_speak, nullptr);
    auto dog = alloc("Dog");
    EXPECT_EQ(tsel::speak(dog).string(), "hooked woof");
    EXPECT_EQ(trace(), (std::vector<std::string>{"hook", "previous said woof"}));
    // Subclasses inherit the hook.
    EXPECT_EQ(tsel::speak(alloc("Puppy")).string(), "hooked woof");
}

Value (*original_Puppy_speak)(id) = nullptr;
Value replaced_Puppy_speak(id self) { return Value("puppy " + original_Puppy_speak(self).string()); }

TEST_F(Runtime, HookingAnInheritedSelectorLeavesTheSuperclassAlone) {
    MSHookMessageEx(objc_getClass("Puppy"), tsel::speak, &replaced_Puppy_speak, &original_Puppy_speak);
    ASSERT_NE(original_Puppy_speak, nullptr);
    EXPECT_EQ(tsel::speak(alloc("Puppy")).string(), "puppy woof");
    EXPECT_EQ(tsel::speak(alloc("Dog")).string(), "woof");
    EXPECT_NE(objc_getClass("Puppy")->ownMethod("speak"), nullptr);
}

Value (*original_second)(id) = nullptr;
Value replaced_second(id self) { return Value("second(" + original_second(self).string() + ")"); }

TEST_F(Runtime, HookingTwiceChains) {
    MSHookMessageEx(objc_getClass("Dog"), tsel::speak, &replaced_Dog_speak, &original_Dog_speak);
    MSHookMessageEx(objc_getClass("Dog"), tsel::speak, &replaced_second, &original_second);
    EXPECT_EQ(tsel::speak(alloc("Dog")).string(), "second(hooked woof)");
}

TEST_F(Runtime, MissingClassOrSelectorIsInert) {
    Value (*previous)(id) = reinterpret_cast<Value (*)(id)>(0x1);
    MSHookMessageEx(objc_getClass("Cat"), tsel::speak, &replaced_Dog_speak, &previous);
    EXPECT_EQ(previous, reinterpret_cast<Value (*)(id)>(0x1));
    constexpr Sel<Value(id)> purr{"purr"};
    MSHookMessageEx(objc_getClass("Dog"), purr, &replaced_Dog_speak, &previous);
    EXPECT_EQ(previous, reinterpret_cast<Value (*)(id)>(0x1));
    EXPECT_FALSE(respondsToSelector(alloc("Dog"), "purr"));
}

long long wrongSpeak(id) { return 1; }

TEST_F(Runtime, SignatureMismatchIsRefusedWithClassAndSelector) {
    long long (*previous)(id) = nullptr;
    try {
        MSHookMessageEx(objc_getClass("Dog"), tsel::wrongSpeak, &wrongSpeak, &previous);
        FAIL() << "no exception";
    } catch (const NSException& e) {
        EXPECT_NE(e.reason().find("-[Dog speak]"), std::string::npos) << e.reason();
        EXPECT_NE(e.reason().find("signature mismatch"), std::string::npos) << e.reason();
    }
    EXPECT_EQ(previous, nullptr);
    EXPECT_THROW(tsel::wrongSpeak(alloc("Dog")), NSException);
}

TEST_F(Runtime, NilReceiversAnswerZero) {
    EXPECT_TRUE(tsel::speak(nullptr).isNil());
    EXPECT_EQ(tsel::add_(nullptr, 5), 0);
    EXPECT_FALSE(tsel::isAwake(nullptr));
    tsel::poke(nullptr);
    EXPECT_TRUE(trace().empty());
}

TEST_F(Runtime, UnknownSelectorRaises) {
    constexpr Sel<void(id)> fly{"fly"};
    auto dog = alloc("Dog");
    try {
        fly(dog);
        FAIL() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSInvalidArgumentException");
        EXPECT_EQ(e.reason().rfind("-[Dog fly]: unrecognized selector sent to instance 0x", 0), 0u) << e.reason();
    }
}

TEST_F(Runtime, ClassMethodsLiveOnTheMetaclass) {
    Class* dog = objc_getClass("Dog");
    EXPECT_EQ(tsel::kind(dog).string(), "animal");
    EXPECT_TRUE(object_getClass(dog)->isMetaclass());
    EXPECT_THROW(tsel::kind(alloc("Dog")), NSException);
    // Class objects answer the root class's instance methods.
    EXPECT_EQ(sel::description(dog).string(), "Dog");
}

TEST_F(Runtime, PerformSelectorDropsTheObjectForAMethodWithoutArguments) {
    auto dog = alloc("Dog");
    performSelector(dog, "poke", Value("ignored"));
    performSelector(dog, "pokeWith:", Value(dog));
    EXPECT_EQ(trace(), (std::vector<std::string>{"poke", "pokeWith sender"}));
}

TEST_F(Runtime, TargetActionTakesNothingTheSenderOrSenderAndEvent) {
    auto dog = alloc("Dog");
    auto sender = alloc("Animal");
    sendAction(dog, "poke", sender);
    sendAction(dog, "pokeWith:", sender);
    sendAction(dog, "pokeWith:event:", sender, sender);
    sendAction(dog, "pokeWith:event:", sender);
    EXPECT_EQ(trace(), (std::vector<std::string>{"poke", "pokeWith sender", "event", "no event"}));
}

TEST_F(Runtime, KeyValueCodingBoxesBoolFloatAndGeometry) {
    auto dog = alloc("Dog");
    setValueForKey(dog, Value(true), "awake");
    setValueForKey(dog, Value("2.5"), "weight");
    setValueForKey(dog, Value(Rect(1, 2, 3, 4)), "box");
    EXPECT_TRUE(tsel::isAwake(dog));
    EXPECT_FLOAT_EQ(tsel::weight(dog), 2.5f);
    EXPECT_EQ(valueForKey(dog, "awake").kind(), Value::Kind::Bool);
    EXPECT_TRUE(valueForKey(dog, "awake").boolValue());
    EXPECT_EQ(valueForKey(dog, "weight").floatValue(), 2.5f);
    EXPECT_EQ(valueForKey(dog, "box").rect(), Rect(1, 2, 3, 4));
    EXPECT_EQ(valueForKey(dog, "speak").string(), "woof");
    try {
        valueForKey(dog, "tail");
        FAIL();
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSUnknownKeyException");
        EXPECT_NE(e.reason().find("not key value coding-compliant for the key tail."), std::string::npos);
    }
}

class Filter : public NSObject, public UndefinedKeyStorage {};

TEST_F(Runtime, UndefinedKeysAreStoredWhereTheClassKeepsThem) {
    ClassBuilder<Filter>("Filter", "NSObject").storesUndefinedKeys();
    auto f = alloc("Filter");
    EXPECT_TRUE(valueForKey(f, "inputRadius").isNil());
    setValueForKey(f, Value(20.0), "inputRadius");
    EXPECT_DOUBLE_EQ(valueForKey(f, "inputRadius").doubleValue(), 20.0);
}

TEST_F(Runtime, InstanceVariablesByName) {
    auto dog = alloc("Dog");
    auto other = alloc("Animal");
    EXPECT_TRUE(object_setIvar(dog, "_friend", Value(other)));
    EXPECT_EQ(object_getIvar(dog, "_friend").object(), other.get());
    EXPECT_TRUE(object_getIvar(dog, "_missing").isNil());
    EXPECT_FALSE(object_setIvar(dog, "_missing", Value(1)));
}

TEST_F(Runtime, WeakReferencesZeroWhenTheLastStrongOneGoes) {
    WeakRef<Object> weak;
    {
        auto dog = alloc("Dog");
        weak = dog.get();
        EXPECT_EQ(weak.lock().get(), dog.get());
    }
    EXPECT_EQ(trace(), (std::vector<std::string>{"dealloc"}));
    EXPECT_EQ(weak.lock(), nullptr);
}

TEST_F(Runtime, WeakReferencesAreSafeAcrossThreads) {
    for (int round = 0; round < 50; ++round) {
        auto dog = alloc("Dog");
        WeakRef<Object> weak(dog.get());
        std::thread t([&] {
            for (int i = 0; i < 100; ++i) (void)weak.lock();
        });
        dog = nullptr;
        t.join();
        EXPECT_EQ(weak.lock(), nullptr);
    }
}

TEST_F(Runtime, ProtocolsConformThroughTheSuperclassChain) {
    Protocol* p = objc_allocateProtocol("Barker");
    ASSERT_NE(p, nullptr);
    objc_registerProtocol(p);
    EXPECT_EQ(objc_allocateProtocol("Barker"), nullptr);
    EXPECT_TRUE(class_addProtocol(objc_getClass("Dog"), p));
    EXPECT_FALSE(class_addProtocol(objc_getClass("Dog"), p));
    EXPECT_TRUE(conformsToProtocol(alloc("Puppy"), "Barker"));
    EXPECT_FALSE(conformsToProtocol(alloc("Animal"), "Barker"));
}

TEST_F(Runtime, AddMethodFailsOnlyWhenTheClassItselfHasIt) {
    EXPECT_FALSE(class_addMethod(objc_getClass("Dog"), tsel::speak, [](id) { return Value("x"); }));
    EXPECT_TRUE(class_addMethod(objc_getClass("Puppy"), tsel::speak, [](id) { return Value("yip"); }));
    EXPECT_EQ(tsel::speak(alloc("Puppy")).string(), "yip");
}

TEST_F(Runtime, IsKindOfClassFollowsTheChain) {
    auto puppy = alloc("Puppy");
    EXPECT_TRUE(isKindOfClass(puppy, "Animal"));
    EXPECT_TRUE(isKindOfClass(puppy, "NSObject"));
    EXPECT_FALSE(isKindOfClass(alloc("Animal"), "Dog"));
    EXPECT_EQ(object_getClass(puppy)->name(), "Puppy");
}

TEST_F(Runtime, SuperSendsStartAboveTheDefiningClass) {
    Class* puppy = objc_getClass("Puppy");
    class_addMethod(puppy, tsel::speak, [](id self) {
        return Value("little " + tsel::speak.super(objc_getClass("Puppy"), self).string());
    });
    EXPECT_EQ(tsel::speak(alloc("Puppy")).string(), "little woof");
}

TEST_F(Runtime, AClassClusterChoosesTheClassItsAllocationMakes) {
    // Animal and its kinds allocate Dogs, except the kinds of Dog themselves.
    ClassBuilder<Animal>::inheritingType("Cat", "Animal");
    objc_getClass("Animal")->setAllocationClass([](Class* requested) {
        return requested->isSubclassOf(objc_getClass("Dog")) ? requested : objc_getClass("Dog");
    });
    struct Case {
        const char* requested;
        const char* made;
    } cases[] = {{"Animal", "Dog"}, {"Cat", "Dog"}, {"Dog", "Dog"}, {"Puppy", "Puppy"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        Ref<Object> made = alloc(c.requested);
        ASSERT_TRUE(made);
        EXPECT_EQ(object_getClass(made)->name(), c.made);
    }
    EXPECT_EQ(object_getClass(alloc("NSObject"))->name(), "NSObject");
}

TEST_F(Runtime, LeftOutClassesAreNotRegistered) {
    setClassFilter([](std::string_view name) { return name != "Wolf"; });
    EXPECT_FALSE(ClassBuilder<Animal>("Wolf", "Animal"));
    EXPECT_EQ(objc_getClass("Wolf"), nullptr);
    EXPECT_EQ(alloc("Wolf"), nullptr);
}

int stockTwice(int x) { return x * 2; }
FunctionSlot twiceSlot{"twice", reinterpret_cast<IMP>(&stockTwice), &typeid(int (*)(int))};
int twice(int x) { return reinterpret_cast<int (*)(int)>(twiceSlot.current)(x); }
int (*original_twice)(int) = nullptr;
int replaced_twice(int x) { return original_twice(x) + 1; }

TEST_F(Runtime, FunctionHooksGoThroughTheSlot) {
    registerHookableFunction(reinterpret_cast<IMP>(&twice), &twiceSlot);
    EXPECT_TRUE(MSHookFunction(&twice, &replaced_twice, &original_twice));
    EXPECT_EQ(twice(5), 11);
    EXPECT_FALSE(MSHookFunction(&stockTwice, &replaced_twice, &original_twice));
}

}  // namespace
}  // namespace platform
