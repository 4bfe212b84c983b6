// The options dialog frm_option: the desktop shortcut and autorun wishes,
// the main window's opacity, the note font and the task reminder.  Each
// caller opens it on one of its three pages, with the other two hidden.
// Confirming stores every value of all three pages in the Settings,
// reconfigures the reminder, writes the settings file and starts vk_reg.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class frm_option;
}

namespace options {

// The pages, by the number the callers pass.
inline constexpr int basic_page = 1;  // "基本设置", from the menu item "选项设置"
inline constexpr int note_editor_page = 5;  // "备忘录编辑器", from the note editor
inline constexpr int reminder_page = 6;  // "任务提醒", from the task page's "提醒"

// What the dialog changes beyond the Settings; the main window gives it.
struct OptionTargets {
    // Sets the main window's opacity (30 to 255) at once.
    std::function<void(int form_blend)> set_opacity;
    // Configures the task reminder's timer from the Settings.
    std::function<void()> configure_reminder;
    // Writes the Settings into the settings file, as the shutdown does.
    std::function<void()> save_settings;
};

class Tfrm_option : public QDialog {
    Q_OBJECT

public:
    // A dialog filled from the Settings, on `page` (basic_page,
    // note_editor_page or reminder_page; any other number raises
    // std::invalid_argument).
    Tfrm_option(int page, OptionTargets targets, QWidget* parent = nullptr);
    ~Tfrm_option() override;

public slots:
    // "取消", the close box and Escape: the main window goes back to the
    // opacity of form_blend at once, and nothing else changes.
    void reject() override;

private slots:
    void Button1Click();
    void Button2Click();
    void TrackBar1Change(int position);
    void RzFontComboBox1Change();
    void Edit_taskhintExit();

private:
    void apply_fonts_and_colours();
    void fill_colour_list();
    void load_settings();
    void show_preview();
    void show_page(int page);
    void store_settings() const;

    std::unique_ptr<Ui::frm_option> ui;
    OptionTargets targets_;
};

// Creates a new dialog on `page`, shows it modally over `owner` and
// discards it when it closes.
void show_option(int page, QWidget* owner, const OptionTargets& targets);

}  // namespace options
