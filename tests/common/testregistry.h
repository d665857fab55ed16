#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Every test class of a test executable registers itself here with
// VANTEL_TEST_CLASS; the shared main runs them one after another.
namespace TestRegistry {

using Factory = std::function<std::unique_ptr<QObject>()>;

struct Entry
{
    const char *name;
    Factory factory;
};

std::vector<Entry> &Entries();
bool Add(const char *name, Factory factory);

} // namespace TestRegistry

#define VANTEL_TEST_CLASS(Class)                                                                   \
    static const bool Class##_registered                                                           \
            = TestRegistry::Add(#Class, [] { return std::unique_ptr<QObject>(new Class); });
