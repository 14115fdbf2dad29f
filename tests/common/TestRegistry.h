#pragma once

#include <QObject>

#include <functional>
#include <memory>

// Lets each test class of an executable register itself, so one executable
// runs many classes: TOLVANE_TEST(ClassName) after the class definition.
namespace TestRegistry {

using Factory = std::function<std::unique_ptr<QObject>()>;

bool Add(const char *name, Factory factory);

} // namespace TestRegistry

#define TOLVANE_TEST(Class)                                                                        \
    static const bool Class##Registered = TestRegistry::Add(                                      \
        #Class, [] { return std::unique_ptr<QObject>(new Class); })
