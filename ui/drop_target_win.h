// The main window as an OLE drop target for files from the shell (CF_HDROP).
// Name lists (.txt, .csv) dropped on the names box fill it; a single folder
// dropped on the path box, or anywhere on the window, becomes the search
// path. Anything else is refused while it is dragged (the no-drop cursor)
// and changes nothing when dropped.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/base/failure.h"
#include "platform/text/text.h"

namespace tarnwell {

// What the drop target needs of the window; the program implements it.
class DropReceiver {
 public:
  virtual ~DropReceiver() = default;
  // Whether the point (screen coordinates) lies on the names box.
  virtual bool OverNamesBox(POINT screen) = 0;
  // A folder can be dropped only while the path box takes a path.
  virtual bool PathBoxEnabled() = 0;
  // Appends the names to the names box, each on a line of its own.
  virtual void AppendNames(const TextList& names) = 0;
  // Sets the search path as the folder browser's choice would.
  virtual void SetSearchFolder(const Text& folder) = 0;
  // Tells the user of the dropped lists that could not be read (gone,
  // locked, too large), once the drop has ended.
  virtual void TellUnreadLists(const std::vector<Failure>& unread) = 0;
};

// COM interfaces have no virtual destructor: a COM object is destroyed by its
// own Release, never through a pointer to its interface.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class DropTarget final : public IDropTarget {
 public:
  // Made with one reference, which the caller owns.
  explicit DropTarget(DropReceiver& receiver) : receiver_(&receiver) {}
  DropTarget(const DropTarget&) = delete;
  DropTarget& operator=(const DropTarget&) = delete;

  // After this the target refuses every drop (the receiver is going away).
  void Detach() { receiver_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

 private:
  enum class Kind { Refused, NameLists, Folder };
  struct Dragged {
    Kind kind = Kind::Refused;
    std::vector<Text> paths;  // the program's texts
  };

  ~DropTarget() = default;
  static Dragged Inspect(IDataObject* data);
  // The effect to answer at this point: a copy (or a link, when the source
  // offers no copy) for what is taken there, none for the rest. Never a
  // move, which would make the source delete its files.
  DWORD Judge(POINTL point, DWORD allowed) const;
  void Take();

  std::atomic<ULONG> references_{1};
  DropReceiver* receiver_;
  Dragged dragged_;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace tarnwell
