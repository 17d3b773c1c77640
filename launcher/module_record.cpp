#include "launcher/module_record.h"

namespace link14 {

ModuleRecord::ModuleRecord() : instances_(), count_(1) {
    instances_[0] = GetModuleHandleW(nullptr);
}

bool ModuleRecord::AddResourceInstance(HINSTANCE instance) {
    if (!instance || count_ >= kMaxInstances) return false;
    // Keep the executable's own module at the end.
    instances_[count_] = instances_[count_ - 1];
    instances_[count_ - 1] = instance;
    ++count_;
    return true;
}

HINSTANCE ModuleRecord::Instance(int index) const {
    return (index >= 0 && index < count_) ? instances_[index] : nullptr;
}

ModuleRecord& TheModule() {
    static ModuleRecord record;
    return record;
}

}  // namespace link14
