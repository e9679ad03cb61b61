// The Messages window: the log of the messages one window handles (see
// msglog/win32/message_log.h), one window per watched window, each with its
// own log, caption "Messages - " and the watched window's handle.
//
// The list shows the records as they come, newest at the bottom and kept in
// view unless the user has scrolled up. "&Stop"/"&Start" (one button,
// labelled by what it will do) stops the log and starts a new one on the
// same window, whose records go on in the same list; "C&lear" empties the
// list; "&Copy all" and "Sa&ve..." give the shown records as text, one a
// line (msglog/message_text.h); "Children &too" watches the window's
// descendants too; the group filters choose what the list shows. The
// number of records and of lost ones is always shown. Closing the window
// stops its log.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "msglog/message_store.h"
#include "msglog/win32/message_log.h"
#include "platform/toolkit/win32/forms.h"
#include "platform/toolkit/win32/list_view.h"
#include "platform/toolkit/win32/std_controls.h"
#include "platform/toolkit/win32/timer.h"
#include "platform/window_services.h"

namespace vexlan {

class TForm6 : public TForm {
 public:
  explicit TForm6(TComponent* owner);
  ~TForm6() override;

  std::string ClassName() const override { return "TForm6"; }
  TPublishedHandler FindMethod(std::string_view name) override;

  TPanel* Panel1 = nullptr;
  TButton* StartStopBtn = nullptr;
  TButton* ClearBtn = nullptr;
  TButton* CopyAllBtn = nullptr;
  TButton* SaveBtn = nullptr;
  TCheckBox* ChildrenBox = nullptr;
  TLabel* CountLabel = nullptr;
  TCheckBox* MouseBox = nullptr;
  TCheckBox* KeyboardBox = nullptr;
  TCheckBox* PaintingBox = nullptr;
  TCheckBox* WindowsBox = nullptr;
  TCheckBox* OtherBox = nullptr;
  TListView* ListView1 = nullptr;
  TTimer* Timer1 = nullptr;

  // Starts logging `wnd`'s messages and names the window after it; the
  // words that tell why, when the log cannot start (then nothing runs).
  std::optional<std::string> Watch(WindowHandle wnd);
  WindowHandle Target() const { return target_; }
  bool Logging() const { return log_ != nullptr; }
  const MessageStore& Records() const { return store_; }
  // Records lost since the list was last cleared.
  std::uint64_t Lost() const;
  // What the window says of its records: "12 records, 0 lost", with how
  // many the filters show, and why the log stopped when it stopped itself.
  std::string CountText() const;
  // Takes what the hooks have written; the timer does it while logging.
  void DrainNow();

  void StartStopBtnClick(TObject* Sender);
  void ClearBtnClick(TObject* Sender);
  void CopyAllBtnClick(TObject* Sender);
  void SaveBtnClick(TObject* Sender);
  void ChildrenBoxClick(TObject* Sender);
  // Any group's box: the list shows the groups that are checked.
  void FilterClick(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  // Closing stops the log and lets the records go.
  void FormClose(TObject* Sender);

 protected:
  bool DispatchByNumber(TMessage& message) override;

 private:
  std::optional<std::string> StartLog();
  void StopLog();
  void Take(std::size_t taken_before, std::size_t offered);
  void ShowCounts();
  void WMGetMinMaxInfo(TMessage& message);

  WindowHandle target_ = 0;
  std::unique_ptr<MessageLog> log_;
  MessageStore store_;
  SystemLogNamer namer_;
  std::vector<MessageRecord> drained_;
  // Times count from the first log's start, across Stop and Start.
  std::optional<LogClock> clock_;
  std::uint64_t lost_ = 0;           // by logs that ended, and records the list had no room for
  std::uint64_t lost_cleared_ = 0;   // what Lost() counted when the list was last cleared
  std::string stopped_because_;      // why the log stopped itself
};

// Shows the Messages window of `wnd`: the one open already, brought to the
// front, or a new one owned by `owner` with its log started. When the log
// cannot start the user is told why and no window opens. Messages windows
// the user closed earlier are let go here, outside their own handlers.
void WatchMessages(TComponent* owner, WindowHandle wnd);

// The Messages windows there are, closed ones included.
const std::vector<TForm6*>& MessagesForms();

}  // namespace vexlan
