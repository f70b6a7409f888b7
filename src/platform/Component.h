#pragma once
// The component base: a name, the loading/designing state the property
// rules look at, Loaded(), and removal notices between components that refer
// to each other, so that none keeps a pointer to one that is gone.

#include <QString>
#include <functional>
#include <vector>

class TObject {
 public:
  virtual ~TObject() = default;
};

// The plain event: who raised it, nothing else.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csDesigning = 1u << 1,
  csDestroying = 1u << 2,
};

class TComponent : public TObject {
 public:
  TComponent() = default;
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const QString& Name() const { return FName; }
  void SetName(const QString& name) { FName = name; }

  unsigned ComponentState() const { return FComponentState; }
  bool IsLoading() const { return (FComponentState & csLoading) != 0; }
  bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
  // Marks the component as loading while its settings are set in one go;
  // EndLoading() clears the flag and calls Loaded().
  void BeginLoading() { FComponentState |= csLoading; }
  void EndLoading();
  void SetDesigning(bool on);

  // Asks for a removal notice when `c` is destroyed (and tells `c` the same
  // about this component). Either side's destructor removes the pair.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

 protected:
  virtual void Loaded() {}
  // Called with opRemove on every component that asked for a removal notice
  // about `c`, while `c` is being destroyed.
  virtual void Notification(TComponent* c, TOperation op) {}

 private:
  QString FName;
  unsigned FComponentState = 0;
  std::vector<TComponent*> FFreeNotifies;
};
