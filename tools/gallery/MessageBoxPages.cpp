// The message box variants: OK, OK and Cancel, and Yes and No with each icon.
#include "Gallery.h"
#include "gallery_ids.h"

namespace {

struct BoxVariant {
  UINT command;
  UINT type;
  const WCHAR* text;
};

constexpr BoxVariant kVariants[] = {
    {ID_BOX_OK, MB_OK, u"A message box with an OK button."},
    {ID_BOX_OKCANCEL, MB_OKCANCEL, u"OK goes on, Cancel does not."},
    {ID_BOX_YESNO, MB_YESNO, u"Yes or no, without an icon?"},
    {ID_BOX_YESNO_HAND, MB_YESNO | MB_ICONHAND, u"Stop: yes or no?"},
    {ID_BOX_YESNO_QUESTION, MB_YESNO | MB_ICONQUESTION, u"A question: yes or no?"},
    {ID_BOX_YESNO_EXCLAMATION, MB_YESNO | MB_ICONEXCLAMATION, u"A warning: yes or no?"},
    {ID_BOX_YESNO_ASTERISK, MB_YESNO | MB_ICONASTERISK, u"For your information: yes or no?"},
};

const WCHAR* AnswerName(int answer) {
  switch (answer) {
    case IDOK:
      return u"OK";
    case IDCANCEL:
      return u"Cancel";
    case IDYES:
      return u"Yes";
    case IDNO:
      return u"No";
    default:
      return u"nothing";
  }
}

void OpenBox(HWND main, UINT command) {
  for (const BoxVariant& variant : kVariants) {
    if (variant.command != command) continue;
    const int answer = MessageBoxW(main, variant.text, u"Gallery", variant.type);
    SetStatusF(main, u"Message box answered %s (%d)", AnswerName(answer), answer);
    return;
  }
}

GalleryPage okPage(ID_BOX_OK, &OpenBox);
GalleryPage okCancelPage(ID_BOX_OKCANCEL, &OpenBox);
GalleryPage yesNoPage(ID_BOX_YESNO, &OpenBox);
GalleryPage handPage(ID_BOX_YESNO_HAND, &OpenBox);
GalleryPage questionPage(ID_BOX_YESNO_QUESTION, &OpenBox);
GalleryPage exclamationPage(ID_BOX_YESNO_EXCLAMATION, &OpenBox);
GalleryPage asteriskPage(ID_BOX_YESNO_ASTERISK, &OpenBox);

}  // namespace
