// The module record: which modules' resources the program searches.
#pragma once

#include <windows.h>

namespace link14 {

class ModuleRecord {
public:
    static const int kMaxInstances = 8;

    ModuleRecord();
    ModuleRecord(const ModuleRecord&) = delete;
    ModuleRecord& operator=(const ModuleRecord&) = delete;

    // Instances added by the program are searched before the executable's own
    // module, which always stays last. Returns false when the list is full.
    bool AddResourceInstance(HINSTANCE instance);

    int InstanceCount() const { return count_; }
    HINSTANCE Instance(int index) const;

private:
    HINSTANCE instances_[kMaxInstances];
    int count_;
};

// The process-wide record, constructed on first use; the start-up unit
// touches it first thing during static initialisation.
ModuleRecord& TheModule();

}  // namespace link14
