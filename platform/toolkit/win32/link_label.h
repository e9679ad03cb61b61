// A line of text with links in it (the common controls' SysLink): `<a
// id="name">` and `</a>` mark each link in the caption. A link is followed by
// a click, or by Enter when it has the focus (Tab reaches each link in turn).
// Links are told by their id, not their place: Wine 8's control counts the
// text before a clicked link as places too (measured: the first link of
// "Parent: <a>1</a>" clicked came as place 1; Enter on it as 0).
#pragma once

#include <functional>
#include <string>

#include "platform/toolkit/control_settings.h"
#include "platform/toolkit/win32/controls.h"

namespace vexlan {

class TLinkLabel : public TWinControl {
 public:
  explicit TLinkLabel(TComponent* owner);
  std::string Caption() const { return Text(); }
  // The text with its `<a>` marks; the control reads the links out of it.
  void SetCaption(const std::string& caption) { SetText(caption); }
  // A link followed: its id (ASCII, at most 47 characters).
  std::function<void(TObject* sender, const std::string& id)> OnLinkClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool DispatchByNumber(TMessage& message) override;

 private:
  void CNNotify(TMessage& message);
};

template <>
struct LayoutWriter<LinkLabelSettings> {
  using Component = TLinkLabel;
  static void Write(TLinkLabel& label, const LinkLabelSettings& s, LayoutContext& context);
};

}  // namespace vexlan
