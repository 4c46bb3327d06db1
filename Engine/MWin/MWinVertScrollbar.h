#pragma once

#include "Engine/MWin/MWin.h"
#include "Engine/MWin/MWinButton.h"

// What a bound program variable is; the scroll bar writes its value there on every change.
enum _MWinVertScrollbarVariable : EngInt32 {
    MWIN_VSB_VAR_NONE = 0,
    MWIN_VSB_VAR_SIGNED_BYTE = 1,
    MWIN_VSB_VAR_BYTE = 2,
    MWIN_VSB_VAR_INT = 3,
    MWIN_VSB_VAR_UNSIGNED = 4,
    MWIN_VSB_VAR_FLOAT = 5,
};

// A vertical value bar (kind 5): a value between a minimum and a maximum, moved by dragging the thumb,
// by clicks above or below it (a page), by the optional arrows, the wheel and the keys (a step).
class MWinVertScrollbar : public MWinButton {
public:
    MWinVertScrollbar(MWin* mwin, const char* id, MWinGroup* group, const char* texbut_id, const char* text,
                      float x, float y, float w, float h);
    ~MWinVertScrollbar() override;

    void Render() override;
    char HandleButtonPressed(int button, char down, char flag) override;
    char HandleDoubleClick(int button) override;
    void CancelPress() override;
    char HandleMouseMove() override;
    char HandleMouseWheel(int steps) override;
    char HandleKeyDown(int key) override;
    char IsCapturingInput() override;
    void ResetState() override;

    // A maximum below the minimum leaves everything as it was; a page or step of 0 or less takes a tenth
    // or a hundredth of the range. The value goes back to the minimum.
    void SetRange(double minimum, double maximum, double page, double step);
    void SetRange(int minimum, int maximum, int page, int step);
    char SetPosDouble(double value, char dragging, char force, char fire);
    char SetPosInt(int value, char dragging, char force, char fire);
    char SetPosFloat(float value, char dragging, char force, char fire);
    char SetPosUnsigned(unsigned value, char dragging, char force, char fire);
    // The value; -1 for a button of another kind.
    double GetPosDouble() const;
    double GetMinimum() const { return m_minimum; }
    double GetMaximum() const { return m_maximum; }
    double GetPage() const { return m_page; }
    double GetStep() const { return m_step; }

    // 0 turns snapping off; 1, 0.1, 0.01 and 0.001 are the snaps there are.
    void SetSnap(float snap) { m_snap = snap; }
    float GetSnap() const { return m_snap; }
    double ApplySnap(double value);
    // mode 0 no label; 2, 3, 4 one to three decimals; other values none.
    void SetLabel(char mode, int prefix_length, float factor);
    void SetArrows(char on) { m_arrows = on ? 1 : 0; }
    bool HasArrows() const { return m_arrows != 0; }
    bool WasKeyHandled() const { return m_key_handled != 0; }

    // The position follows the variable at once; multiplier (int, unsigned) or divisor (float) scale it.
    char BindSignedByteVariable(signed char* variable);
    char BindByteVariable(unsigned char* variable);
    char BindIntVariable(int* variable, float multiplier);
    char BindUnsignedVariable(unsigned* variable, float multiplier);
    char BindFloatVariable(float* variable, float divisor);

    void StepUp();
    void StepDown();
    void PageUp();
    void PageDown();

    // Geometry on the virtual screen.
    float GetBarWidth() const;
    float GetThumbHeight() const;
    float GetTrackTop() const;
    float GetTrackLength() const;
    float GetThumbY() const;
    // The value a pointer at y asks for, within the range.
    double ValueAtY(float y) const;

private:
    float Metric(int field, float fallback) const;
    float ArrowHeightIfShown() const;
    void EndDrag();
    void RebuildLabel();
    char Bind(_MWinVertScrollbarVariable kind, void* variable, float scale);
    void WriteBoundVariable();
    void ReadBoundVariable();
    char FireValue(char fire, char dragging);

    double m_value = 0.0;
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    double m_page = 10.0;
    double m_step = 1.0;
    float m_snap = 0.0f;
    char m_label_mode = 0;
    int m_label_prefix_length = 0;
    float m_label_factor = 1.0f;
    char m_key_handled = 1;
    char m_changed_while_dragging = 0;
    char m_arrows = 0;
    float m_grab_offset = 0.0f;
    _MWinVertScrollbarVariable m_bound_kind = MWIN_VSB_VAR_NONE;
    void* m_bound = nullptr;
    float m_bound_scale = 1.0f;
};
