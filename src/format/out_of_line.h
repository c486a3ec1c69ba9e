#pragma once
// A value kept behind one pointer, made on first write: for the parts most records lack (a
// note's arc marks, articulations, grace notes and options), so that an absent part costs one
// pointer. Reading an absent value gives the default value; copies are deep.
//
// T may bring its own operator new and delete (the voice records' pool).

#include <memory>
#include <utility>

namespace nuo4 {

template <typename T>
class TNuo4FormatOutOfLine {
  public:
    TNuo4FormatOutOfLine() = default;
    TNuo4FormatOutOfLine(const TNuo4FormatOutOfLine& AOther)
        : FValue(AOther.FValue ? new T(*AOther.FValue) : nullptr) {}
    TNuo4FormatOutOfLine(TNuo4FormatOutOfLine&&) noexcept = default;
    TNuo4FormatOutOfLine& operator=(const TNuo4FormatOutOfLine& AOther) {
        if (this != &AOther) FValue.reset(AOther.FValue ? new T(*AOther.FValue) : nullptr);
        return *this;
    }
    TNuo4FormatOutOfLine& operator=(TNuo4FormatOutOfLine&&) noexcept = default;
    TNuo4FormatOutOfLine& operator=(T AValue) {
        Mut() = std::move(AValue);
        return *this;
    }

    const T& Get() const { return FValue ? *FValue : Default(); }
    T& Mut() {
        if (!FValue) FValue.reset(new T());
        return *FValue;
    }
    bool IsPresent() const { return FValue != nullptr; }
    void Reset() { FValue.reset(); }

  private:
    static const T& Default() {
        static const T Value{};
        return Value;
    }
    std::unique_ptr<T> FValue;
};

}  // namespace nuo4
