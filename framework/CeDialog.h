// A dialog object: a dialog-template resource run by the platform's dialog
// manager, bound to this object at WM_INITDIALOG and answering through the
// MessageHandler interface with the dialog manager's rules for results.
#pragma once

#include <windows.h>

#include "framework/CeWnd.h"

class CeDialog : public CeWnd {
 public:
  // The template as a resource identifier, kept as given (null: chosen when
  // the dialog is run).
  explicit CeDialog(LPCWSTR templateName);
  // The template as a resource number; only its low 16 bits count.
  explicit CeDialog(int templateNumber);
  ~CeDialog() override;

  // Runs the dialog modally and returns the value it ended with, or the
  // platform's failure value (-1) when it could not be made. Null arguments
  // mean this object's template, DefaultOwner and the program's module.
  INT_PTR RunModal(LPCWSTR templateName = nullptr, HWND owner = nullptr, HINSTANCE instance = nullptr);
  // Makes the dialog without a modal loop and registers it with the
  // program's modeless dialogs, so the message loop gives it its keys.
  // Null arguments as for RunModal, except that no owner is made up. The
  // window, or null when it could not be made.
  HWND CreateModeless(LPCWSTR templateName = nullptr, HWND owner = nullptr, HINSTANCE instance = nullptr);

  // Moves the dialog over the centre of a window, kept inside the work area
  // (a top-level dialog) or its parent's client area (a child dialog).
  // Without a window: the dialog's parent (child) or owner (top-level); a
  // hidden window or none centres it in the work area.
  void CenterOnOwner(HWND centreOn = nullptr);

  virtual void OnCancel();
  virtual void OnOK();
  // Centres a modal dialog over its owner. The result is WM_INITDIALOG's:
  // nonzero lets the dialog manager set the focus.
  virtual BOOL OnInitDialog();

  // The application's main window when it has one, else the active window.
  static HWND DefaultOwner();
  // The window at the end of the chain of parents (for child windows) and
  // owners (for top-level windows) that starts at window.
  static HWND TopLevelOf(HWND window);

  // Procedure of every framework dialog. lParam of WM_INITDIALOG is the
  // object.
  static INT_PTR CALLBACK CeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  LRESULT DefaultProc() override;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

  bool IsModal() const { return isModal; }

 protected:
  // Command id of static labels (IDC_STATIC as a 16-bit id).
  static constexpr WORD kStaticId = 0xFFFF;

  // Set by RunModal, never cleared.
  bool isModal = false;
  LPCWSTR templateName = nullptr;

 private:
  // The template resource of a module, or null when it has none.
  static LPCDLGTEMPLATEW LoadTemplate(HINSTANCE instance, LPCWSTR name);
  void OnStaticLabel(WORD code, HWND label);
  void Bind(HWND dialog);
  void Unbind(HWND dialog);
};
