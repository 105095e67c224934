// Persistent objects and their property tables.
//
// Every class whose published properties are streamed, reset to defaults or
// edited in a dialog declares one table beside it: name, kind, getter, setter,
// declared default and stored-condition of each property. The component stream,
// the reset to defaults and the editor dialogs all walk the same table, so a
// property is declared once and every consumer sees it the same way.
//
//   class TPen : public classlib::TPersistent {
//     ORVEL_CLASS_INFO
//    public:
//     int Width() const; void SetWidth(int);
//   };
//   const classlib::TClassInfo& TPen::StaticClassInfo() {
//     static const classlib::TClassInfo info =
//         classlib::TClassBuilder<TPen>("TPen", TPersistent::StaticClassInfo())
//             .Property("Width", &TPen::Width, &TPen::SetWidth, 1)
//             .Build();
//     return info;
//   }
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/classlib/Exception.h"

namespace classlib {

class TPersistent;
class TComponent;
class TFiler;

// Raised when a property is misused.
class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

enum TPropKind : std::uint8_t {
  pkBoolean,  // bool
  pkInteger,  // up to 32-bit integers, and characters
  pkInt64,    // 64-bit integers
  pkFloat,    // double
  pkString,   // std::string (bytes)
  pkEnum,     // byte enumerations, with the names of their values
  pkSet,      // bit sets over an enumeration, with the names of their elements
  pkClass,    // a persistent sub-object, or a reference to a component
};

// A property value as the tables carry it. Enumerations and sets travel as
// their ordinal and bit mask in the integer alternative.
using TPropValue = std::variant<std::monostate, bool, std::int64_t, double, std::string, TPersistent*>;

struct TPropInfo {
  std::string Name;
  TPropKind Kind = pkInteger;
  std::string TypeName;                 // "Boolean", "Integer", "Double", "String", "TPenStyle", ...
  std::vector<std::string> ValueNames;  // enumeration values or set elements, in ordinal order
  std::function<TPropValue(const TPersistent&)> Get;
  std::function<void(TPersistent&, const TPropValue&)> Set;  // empty for read-only properties
  std::optional<TPropValue> Default;    // the declared default; none means "always stored"
  // A default that depends on the instance (a pen whose default colour its owner
  // chose at creation); when set it replaces Default.
  std::function<std::optional<TPropValue>(const TPersistent&)> InstanceDefault;
  std::function<bool(const TPersistent&)> StoredFn;  // the stored-condition; empty means stored
  // The range of the C++ type behind an integer, enumeration or set property,
  // so that a reader refuses a value the setter would silently cut.
  std::int64_t MinValue = std::numeric_limits<std::int64_t>::min();
  std::int64_t MaxValue = std::numeric_limits<std::int64_t>::max();

  bool Writable() const { return static_cast<bool>(Set); }
  // The default that applies to this instance: InstanceDefault when set, else Default.
  std::optional<TPropValue> DefaultFor(const TPersistent& instance) const {
    return InstanceDefault ? InstanceDefault(instance) : Default;
  }
  // True when a writer should store the property: its stored-condition holds
  // and its value differs from the declared default. A floating-point value is
  // stored unless it is +0 and the declared default (if any) is 0 too: a reader
  // may start from a constructor's value or from floats reset to 0, and either
  // must give the written value back.
  bool IsStored(const TPersistent& instance) const;
  // The name of an enumeration value, or its number when the table has no name for it.
  std::string ValueName(std::int64_t ordinal) const;
  // The ordinal of a named enumeration value; -1 when unknown.
  std::int64_t ValueOrdinal(std::string_view name) const;
};

// The description of one class: its name, its parent, its own properties in
// declaration order, and how to create an instance (none for abstract classes).
class TClassInfo {
 public:
  using TFactory = std::function<TPersistent*(TComponent* owner)>;

  TClassInfo(std::string className, const TClassInfo* parent, std::vector<TPropInfo> properties,
             TFactory factory);

  const std::string& ClassName() const { return FClassName; }
  const TClassInfo* Parent() const { return FParent; }
  const std::vector<TPropInfo>& OwnProperties() const { return FProperties; }

  // Every property of the class, the root class's first, each class's in declaration order.
  std::vector<const TPropInfo*> Properties() const;
  // Case-insensitive, as property names in streams are.
  const TPropInfo* FindProperty(std::string_view name) const;

  bool InheritsFrom(const TClassInfo& ancestor) const;
  bool InheritsFrom(std::string_view ancestorName) const;

  bool Creatable() const { return static_cast<bool>(FFactory); }
  // Creates an instance; components get the owner. Raises for abstract classes.
  TPersistent* Create(TComponent* owner = nullptr) const;

 private:
  std::string FClassName;
  const TClassInfo* FParent;
  std::vector<TPropInfo> FProperties;
  TFactory FFactory;
};

// Declares the class-information pair in a class body; define StaticClassInfo
// in the class's .cpp with a TClassBuilder.
#define ORVEL_CLASS_INFO                                         \
 public:                                                         \
  static const ::classlib::TClassInfo& StaticClassInfo();        \
  const ::classlib::TClassInfo& ClassInfo() const override {     \
    return StaticClassInfo();                                    \
  }                                                              \
                                                                 \
 private:

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().ClassName(); }
  bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }

  // Copies the value of source into this object. The base asks source to
  // assign itself to this object, and raises when neither knows how.
  virtual void Assign(const TPersistent& source);
  // Adds properties that the table cannot describe (binary data) to a stream.
  virtual void DefineProperties(TFiler& filer);
  // The dotted path of owners by which a designer names this object.
  virtual std::string GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent& dest) const;
  virtual TPersistent* GetOwner() const { return nullptr; }
};

// Reading and writing a property by name through the tables.
TPropValue GetPropValue(const TPersistent& instance, std::string_view name);
void SetPropValue(TPersistent& instance, std::string_view name, const TPropValue& value);

// Sets every writable property that has a declared default back to it, and
// recurses into persistent sub-objects (not into referenced components).
void ResetToDefaults(TPersistent& instance);

namespace detail {

template <class V>
constexpr TPropKind KindOf() {
  if constexpr (std::is_same_v<V, bool>) return pkBoolean;
  else if constexpr (std::is_enum_v<V>) return pkEnum;
  else if constexpr (std::is_integral_v<V> && sizeof(V) > 4) return pkInt64;
  else if constexpr (std::is_integral_v<V>) return pkInteger;
  else if constexpr (std::is_floating_point_v<V>) return pkFloat;
  else if constexpr (std::is_same_v<V, std::string>) return pkString;
  else if constexpr (std::is_pointer_v<V> &&
                     std::is_base_of_v<TPersistent, std::remove_cv_t<std::remove_pointer_t<V>>>)
    return pkClass;
  else static_assert(sizeof(V) == 0, "property type not supported by the tables");
}

template <class V>
std::string DefaultTypeName() {
  if constexpr (std::is_same_v<V, bool>) return "Boolean";
  else if constexpr (std::is_integral_v<V> && sizeof(V) > 4) return "Int64";
  else if constexpr (std::is_integral_v<V>) return "Integer";
  else if constexpr (std::is_floating_point_v<V>) return "Double";
  else if constexpr (std::is_same_v<V, std::string>) return "String";
  else return "";
}

template <class V>
TPropValue ToPropValue(const V& value) {
  if constexpr (std::is_same_v<V, bool>) return value;
  else if constexpr (std::is_enum_v<V>) return static_cast<std::int64_t>(value);
  else if constexpr (std::is_integral_v<V>) return static_cast<std::int64_t>(value);
  else if constexpr (std::is_floating_point_v<V>) return static_cast<double>(value);
  else if constexpr (std::is_same_v<V, std::string>) return value;
  else return static_cast<TPersistent*>(const_cast<std::remove_cv_t<std::remove_pointer_t<V>>*>(value));
}

// Converts a table value back to the property's C++ type; raises on a kind mismatch.
template <class V>
V FromPropValue(const TPropValue& value, const std::string& name) {
  auto mismatch = [&]() -> V { throw EPropertyError("Invalid property value for " + name); };
  if constexpr (std::is_same_v<V, bool>) {
    if (auto* b = std::get_if<bool>(&value)) return *b;
    if (auto* i = std::get_if<std::int64_t>(&value)) return *i != 0;
    return mismatch();
  } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
    if (auto* i = std::get_if<std::int64_t>(&value)) return static_cast<V>(*i);
    if (auto* b = std::get_if<bool>(&value)) return static_cast<V>(*b ? 1 : 0);
    return mismatch();
  } else if constexpr (std::is_floating_point_v<V>) {
    if (auto* d = std::get_if<double>(&value)) return static_cast<V>(*d);
    if (auto* i = std::get_if<std::int64_t>(&value)) return static_cast<V>(*i);
    return mismatch();
  } else if constexpr (std::is_same_v<V, std::string>) {
    if (auto* s = std::get_if<std::string>(&value)) return *s;
    return mismatch();
  } else {
    using Target = std::remove_cv_t<std::remove_pointer_t<V>>;
    if (std::holds_alternative<std::monostate>(value)) return nullptr;
    if (auto* p = std::get_if<TPersistent*>(&value)) {
      if (*p == nullptr) return nullptr;
      if (auto* t = dynamic_cast<Target*>(*p)) return t;
    }
    return mismatch();
  }
}

// The range of an integral or enumeration type, as the tables keep it.
template <class V>
constexpr std::pair<std::int64_t, std::int64_t> RangeOf() {
  if constexpr (std::is_enum_v<V>) {
    return RangeOf<std::underlying_type_t<V>>();
  } else if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>) {
    using L = std::numeric_limits<V>;
    const auto max = static_cast<std::uint64_t>(L::max());
    return {static_cast<std::int64_t>(L::min()),
            max > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                ? std::numeric_limits<std::int64_t>::max()
                : static_cast<std::int64_t>(max)};
  } else {
    return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
  }
}

template <class T, class G>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;

}  // namespace detail

// Builds the TClassInfo of class T from member-function pointers or lambdas.
// Each Property call adds one row; the modifiers after it (TypeName, Stored,
// Names) change the row just added.
template <class T>
class TClassBuilder {
 public:
  TClassBuilder(std::string className, const TClassInfo& parent)
      : FClassName(std::move(className)), FParent(&parent) {}

  // A property without declared default: always stored, never reset.
  template <class G, class S>
  TClassBuilder& Property(std::string name, G getter, S setter) {
    using V = detail::GetterResult<T, G>;
    TPropInfo info;
    info.Name = std::move(name);
    info.Kind = detail::KindOf<V>();
    info.TypeName = detail::DefaultTypeName<V>();
    std::tie(info.MinValue, info.MaxValue) = detail::RangeOf<V>();
    info.Get = [getter](const TPersistent& p) {
      return detail::ToPropValue<V>(std::invoke(getter, static_cast<const T&>(p)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      const std::string propName = info.Name;
      info.Set = [setter, propName](TPersistent& p, const TPropValue& v) {
        std::invoke(setter, static_cast<T&>(p), detail::FromPropValue<V>(v, propName));
      };
    }
    FProperties.push_back(std::move(info));
    return *this;
  }

  // A property with a declared default.
  template <class G, class S, class D>
  TClassBuilder& Property(std::string name, G getter, S setter, D defaultValue) {
    using V = detail::GetterResult<T, G>;
    Property(std::move(name), getter, setter);
    FProperties.back().Default = detail::ToPropValue<V>(static_cast<V>(defaultValue));
    return *this;
  }

  // A persistent sub-object owned by the instance: read-only in the table; its
  // own properties are streamed and reset inside it.
  template <class G>
  TClassBuilder& SubObject(std::string name, G getter) {
    return Property(std::move(name), getter, nullptr);
  }

  TClassBuilder& TypeName(std::string typeName) {
    FProperties.back().TypeName = std::move(typeName);
    return *this;
  }

  // Names of the values of an enumeration (or of the elements of a set).
  TClassBuilder& Names(std::vector<std::string> names) {
    FProperties.back().ValueNames = std::move(names);
    return *this;
  }

  // Marks the row just added as a set whose elements carry these names.
  TClassBuilder& AsSet(std::vector<std::string> names) {
    FProperties.back().Kind = pkSet;
    FProperties.back().ValueNames = std::move(names);
    return *this;
  }

  // A default chosen per instance: fn(const T&) returns the default value (of
  // the property's type) for that instance.
  template <class F>
  TClassBuilder& InstanceDefault(F fn) {
    FProperties.back().InstanceDefault = [fn](const TPersistent& p) -> std::optional<TPropValue> {
      return detail::ToPropValue(std::invoke(fn, static_cast<const T&>(p)));
    };
    return *this;
  }

  template <class F>
  TClassBuilder& Stored(F condition) {
    FProperties.back().StoredFn = [condition](const TPersistent& p) {
      return std::invoke(condition, static_cast<const T&>(p));
    };
    return *this;
  }

  // Lets the registry create instances: components get their owner.
  TClassBuilder& Creatable() {
    if constexpr (std::is_constructible_v<T, TComponent*>)
      FFactory = [](TComponent* owner) -> TPersistent* { return new T(owner); };
    else
      FFactory = [](TComponent*) -> TPersistent* { return new T(); };
    return *this;
  }

  TClassInfo Build() {
    return TClassInfo(std::move(FClassName), FParent, std::move(FProperties), std::move(FFactory));
  }

 private:
  std::string FClassName;
  const TClassInfo* FParent;
  std::vector<TPropInfo> FProperties;
  TClassInfo::TFactory FFactory;
};

}  // namespace classlib
