#include "dialogs/action_list_dlg.h"

#include "framework/data_exchange.h"
#include "framework/header_ctrl.h"
#include "globals.h"
#include "gui_strings.h"
#include "gui/logic/action_choice.h"
#include "message_box.h"
#include "resource.h"
#include "window_position.h"

namespace {

const DWORD kLargestSection = 16u * 1024u * 1024u;

}  // namespace

std::vector<char> ReadWholeSection(const char* section, const char* file)
{
    std::vector<char> buffer(32767, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD copied = ::GetPrivateProfileSectionA(section, buffer.data(), size, file);
        if (copied + 2 < size || size >= kLargestSection) {
            buffer.resize(copied + 2 <= size ? copied + 2 : size);
            buffer[buffer.size() - 1] = '\0';
            if (buffer.size() >= 2)
                buffer[buffer.size() - 2] = '\0';
            return buffer;
        }
        buffer.assign(static_cast<size_t>(size) * 2, '\0');
    }
}

CActionListDlg::CActionListDlg(UINT templateId, HWND parent, const Texts& texts)
    : CDialog(templateId, parent), m_texts(texts)
{}

CActionListDlg::~CActionListDlg() = default;

void CActionListDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ACTION_LIST, m_list);
    DDX_Control(dx, IDC_LIST_RESET, m_resetButton);
    DDX_Control(dx, IDC_LIST_SAVE, m_saveButton);
    DDX_Control(dx, IDC_LIST_RUNNING, m_runningButton);
}

BOOL CActionListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CaptureLayout();

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT);

    m_resetButton.SetIcon(IDI_RESET, CIconButton::kDarkened);
    m_resetButton.SetFlat(true, true);
    m_saveButton.SetIcon(IDI_SAVE, CIconButton::kDarkened);
    m_saveButton.SetFlat(true, true);
    m_runningButton.SetIcon(IDI_RUNNING, CIconButton::kDarkened);
    m_runningButton.SetFlat(true, true);
    AddExtraButtons();

    std::vector<ToolTipEntry> tips = {{IDC_LIST_RESET, m_texts.resetToolTip},
                                      {IDC_LIST_SAVE, "Save changes"}};
    AddExtraToolTips(&tips);
    tips.push_back({IDC_LIST_RUNNING, m_texts.runningToolTip});
    SetUpToolTips(m_texts.dialogName, tips.data(), tips.size());

    m_help.reset(new CListHelpDlg(m_hWnd));
    if (m_help->Create()) {
        m_help->ShowWindow(SW_SHOWNORMAL);
        m_help->SetWindowText(m_texts.helpTitle);
        m_help->SetHelpText("Select a list item to display information.");
    }

    AddColumns();
    m_list.m_isNeverStopRow = [this](int row) { return IsNeverStopRow(row); };
    m_list.m_onNeverStopClick = [this](int row) { OnHotTrack(row); };
    RestoreWindowRect(m_hWnd, m_texts.windowSection);
    // The help window docks to the right: both stay on the screen where there is room,
    // the help window narrowed (to no less than a third) where there is not.
    RECT help;
    if (m_help && m_help->IsWindow() && ::GetWindowRect(m_help->m_hWnd, &help)) {
        const int width = help.right - help.left;
        const int room = MakeRoomToTheRight(m_hWnd, width);
        if (room < width && room >= width / 3)
            m_help->SetWindowPos(nullptr, 0, 0, room, help.bottom - help.top,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Dock();

    if (!OpenData())
        return TRUE;
    if (FillList())
        ShowNeverStopRowsAsNoAction();
    return TRUE;
}

void CActionListDlg::ShowNeverStopRowsAsNoAction()
{
    // The controller never stops these, whatever the profile holds: the row shows what a
    // run does, and Save writes that. Opening the dialog is no change of the user's, so
    // closing it without saving asks nothing.
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        if (!IsNeverStopRow(row))
            continue;
        std::string action = gui_logic::ShownAction(m_list.GetItemText(row, ActionColumn()), true);
        m_list.SetItemText(row, ActionColumn(), action.c_str());
    }
}

void CActionListDlg::CaptureLayout()
{
    // The list stretches; Save keeps to the bottom-right corner, Reset and Remove to the
    // bottom-left; Running to the bottom-left beside Remove, or to the bottom-right
    // beside Save when there is no Remove.
    m_layout.Add(m_hWnd, IDC_ACTION_LIST, gui_logic::kStretchRightBottom);
    m_layout.Add(m_hWnd, IDC_LIST_RESET, gui_logic::kMoveDown);
    m_layout.Add(m_hWnd, IDC_LIST_SAVE, gui_logic::kMoveRightDown);
    bool hasRemove = m_layout.Add(m_hWnd, IDC_LIST_REMOVE, gui_logic::kMoveDown);
    m_layout.Add(m_hWnd, IDC_LIST_RUNNING, hasRemove ? gui_logic::kMoveDown : gui_logic::kMoveRightDown);
    ApplyLayout();
}

void CActionListDlg::ApplyLayout()
{
    if (m_layout.Apply(m_hWnd))
        Dock();
}

void CActionListDlg::Dock() const
{
    if (m_help && m_help->IsWindow())
        DockHelpWindow(m_hWnd, m_help->m_hWnd);
}

bool CActionListDlg::OnSize(UINT, int, int)
{
    ApplyLayout();
    return false;
}

bool CActionListDlg::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT*)
{
    if (msg == WM_MOVING && lp && m_help && m_help->IsWindow())
        DockHelpWindowWhileMoving(*reinterpret_cast<const RECT*>(lp), m_help->m_hWnd);
    else if (msg == WM_MOVE)
        Dock();
    return false;
}

void CActionListDlg::SetHelpText(const std::string& text) const
{
    if (m_help && m_help->IsWindow())
        m_help->SetHelpText(text.c_str());
}

bool CActionListDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_LIST_SAVE:
            Save();
            return true;
        case IDC_LIST_RESET:
            ResetActions();
            return true;
        case IDC_LIST_RUNNING:
            m_runningOnly = m_runningOnly ? 0 : 1;
            if (m_runningOnly)
                ApplyRunningView();
            else
                RestoreHiddenRows();
            return true;
        default:
            break;
        }
    }
    return CDialog::OnCommand(code, id, control);
}

bool CActionListDlg::OnNotify(UINT id, NMHDR* header, LRESULT* result)
{
    if (id != IDC_ACTION_LIST || header->hwndFrom != m_list.m_hWnd)
        return false;
    if (header->code == LVN_HOTTRACK) {
        int row = reinterpret_cast<NMLISTVIEW*>(header)->iItem;
        if (row >= 0)
            OnHotTrack(row);
        *result = 0;
        return true;
    }
    return OnListNotify(header, result);
}

void CActionListDlg::ApplyRunningView()
{
    int columns = CHeaderCtrl(m_list.GetHeaderCtrl()).GetItemCount();
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row) {
        if (IsRunningRow(row))
            continue;
        HiddenRow hidden;
        for (int column = 0; column < columns; ++column)
            hidden.cells.push_back(IsDeferredColumn(column) ? std::string()
                                                            : m_list.GetItemText(row, column));
        hidden.data = m_list.GetItemData(row);
        hidden.image = m_list.GetItemImage(row);
        if (m_list.DeleteItem(row))
            m_hiddenRows.push_back(hidden);
    }
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(true);
}

void CActionListDlg::RestoreHiddenRows()
{
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    for (auto it = m_hiddenRows.rbegin(); it != m_hiddenRows.rend(); ++it) {
        const HiddenRow& hidden = *it;
        int row =
            m_list.InsertItem(m_list.GetItemCount() + 1, hidden.cells.empty() ? "" : hidden.cells[0].c_str(),
                              hidden.image < 0 ? 0 : hidden.image);
        if (row < 0)
            continue;
        m_list.SetItemData(row, hidden.data);
        for (size_t column = 1; column < hidden.cells.size(); ++column) {
            bool deferred = IsDeferredColumn(static_cast<int>(column));
            m_list.SetItemText(row, static_cast<int>(column),
                               deferred ? LPSTR_TEXTCALLBACKA : hidden.cells[column].c_str());
        }
    }
    m_hiddenRows.clear();
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(true);
}

void CActionListDlg::ResetActions()
{
    if (ShowMessageBox(m_hWnd, m_texts.resetQuestion, MB_YESNO | MB_ICONQUESTION) == IDNO)
        return;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        m_list.SetItemText(row, ActionColumn(), "No Action");
    for (HiddenRow& hidden : m_hiddenRows)
        if (static_cast<int>(hidden.cells.size()) > ActionColumn())
            hidden.cells[static_cast<size_t>(ActionColumn())] = "No Action";
    // The profile still holds the old actions: closing now must ask.
    m_list.m_modified = true;
}

void CActionListDlg::Save()
{
    if (!WriteSection())
        return;  // the failure was shown; the changes stay in the dialog
    ShowMessageBox(m_hWnd, SavedMessage(), MB_OK | MB_ICONINFORMATION);
    m_list.m_modified = false;
    FinishClose(0);
}

void CActionListDlg::Close()
{
    if (m_closed)
        return;
    if (m_list.m_modified) {
        int answer = ShowMessageBox(m_hWnd, gui::kUnsavedChangesQuestion, MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES) {
            Save();
            return;
        }
    }
    FinishClose(IDCANCEL);
}

void CActionListDlg::FinishClose(INT_PTR result)
{
    if (m_closed)
        return;
    m_closed = true;
    ReleaseRows();
    CloseData();
    SaveWindowRect(m_hWnd, m_texts.windowSection);
    EndDialog(result);
}

void CActionListDlg::OnDestroy()
{
    // However the dialog ends, what the rows point to is freed while the list exists.
    ReleaseRows();
    CloseData();
}

bool CActionListDlg::OnClose()
{
    Close();
    return true;
}

void CActionListDlg::OnOK() { Close(); }

void CActionListDlg::OnCancel() { Close(); }
