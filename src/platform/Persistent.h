#pragma once
// The base of objects that copy their values into another object of their
// class with AssignTo. Assigning to an object of another class is an error.

#include <stdexcept>
#include <typeinfo>

#include "platform/Component.h"

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPersistent : public TObject {
 public:
  // Copies this object's values into Dest.
  virtual void AssignTo(TPersistent& Dest) const {
    throw EConvertError(std::string("Cannot assign a ") + typeid(*this).name() + " to a " +
                        typeid(Dest).name());
  }
  void Assign(const TPersistent& Source) { Source.AssignTo(*this); }
};
