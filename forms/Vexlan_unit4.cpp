#include "forms/Vexlan_unit4.h"

#include "forms/Vexlan_unit1.h"
#include "forms/core/Vexlan_unit4_layout.h"
#include "forms/layout_writers.h"
#include "platform/toolkit/win32/dialogs.h"
#include "winutil/handle_text.h"

namespace vexlan {

TForm4* Form4 = nullptr;

namespace {

constexpr PublishedMethod<TForm4> kMethods[] = {
    {"SearchBtnClick", &TForm4::SearchBtnClick},
    {"FindNextBtnClick", &TForm4::FindNextBtnClick},
};

}  // namespace

TForm4::TForm4(TComponent* owner) : TForm(owner) {
  ReadForm(Form4Layout());
  Label1 = &LayoutComponent<TLabel>(*this, "Label1");
  Label2 = &LayoutComponent<TLabel>(*this, "Label2");
  handle = &LayoutComponent<TEdit>(*this, "handle");
  Label5 = &LayoutComponent<TLabel>(*this, "Label5");
  Label3 = &LayoutComponent<TLabel>(*this, "Label3");
  classname = &LayoutComponent<TEdit>(*this, "classname");
  Label4 = &LayoutComponent<TLabel>(*this, "Label4");
  windowname = &LayoutComponent<TEdit>(*this, "windowname");
  SearchBtn = &LayoutComponent<TButton>(*this, "SearchBtn");
  FindNextBtn = &LayoutComponent<TButton>(*this, "FindNextBtn");
}

TForm4::~TForm4() {
  if (Form4 == this) Form4 = nullptr;
}

TPublishedHandler TForm4::FindMethod(std::string_view name) { return FindPublishedMethod(*this, kMethods, name); }

void TForm4::ReportNotFound(const std::string& what) { ShowMessage("Can't find the specified " + what + "."); }

bool TForm4::AllEmpty() const { return handle->Text().empty() && classname->Text().empty() && windowname->Text().empty(); }

void TForm4::SearchBtnClick(TObject*) {
  const std::string by_handle = handle->Text();
  const std::string by_class = classname->Text();
  const std::string by_name = windowname->Text();
  if (AllEmpty()) {
    ShowMessage("One of the fields have to be completed.");
    return;
  }
  if (!Form1) throw Exception("The main form is not there to search in");
  if (!by_handle.empty() && !Form1->Findnodebyhandle(HandleFromText(by_handle))) ReportNotFound("handle");
  if (!by_name.empty() && !Form1->Findnodebyname(by_name)) ReportNotFound("window");
  if (!by_class.empty() && !Form1->Findnodebyclass(by_class)) ReportNotFound("class");
}

void TForm4::FindNextBtnClick(TObject*) {
  if (AllEmpty()) {
    ShowMessage("One of the fields have to be completed.");
    return;
  }
  if (!Form1) throw Exception("The main form is not there to search in");
  WindowQuery query;
  if (const std::string text = handle->Text(); !text.empty()) query.handle = HandleFromText(text);
  query.caption = windowname->Text();
  query.class_name = classname->Text();
  if (!Form1->FindNextNode(query)) ShowMessage("No more windows match.");
}

void TForm4::FindNextOrAsk() {
  if (AllEmpty()) {
    Show();
    return;
  }
  FindNextBtnClick(this);
}

bool TForm4::IsShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_F3) return false;
  FindNextBtnClick(this);
  return true;
}

}  // namespace vexlan
