#include "platform/classlib/ClassRegistry.h"

#include <algorithm>
#include <mutex>

#include "platform/classlib/TextUtils.h"

namespace classlib {

namespace {

// The registry is process-wide by nature; the lock lets a worker look a class
// up while the GUI thread registers another.
struct Registry {
  std::mutex lock;
  std::vector<const TClassInfo*> classes;

  const TClassInfo* Find(std::string_view name) const {
    for (const TClassInfo* c : classes)
      if (SameText(c->ClassName(), name)) return c;
    return nullptr;
  }
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterClass(const TClassInfo& info) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  if (r.Find(info.ClassName()) == nullptr) r.classes.push_back(&info);
}

void RegisterClasses(const std::vector<const TClassInfo*>& infos) {
  for (const TClassInfo* info : infos) RegisterClass(*info);
}

void UnRegisterClass(const TClassInfo& info) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.classes.erase(std::remove(r.classes.begin(), r.classes.end(), &info), r.classes.end());
}

const TClassInfo* GetClass(std::string_view name) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  return r.Find(name);
}

const TClassInfo& FindClass(std::string_view name) {
  const TClassInfo* info = GetClass(name);
  if (info == nullptr) throw EClassNotFound("Class " + std::string(name) + " not found");
  return *info;
}

bool InheritsFromRegistered(const TClassInfo& info, std::string_view name) {
  const TClassInfo* registered = GetClass(name);
  return registered != nullptr && info.InheritsFrom(*registered);
}

}  // namespace classlib
