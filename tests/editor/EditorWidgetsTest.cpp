// Text buffers of the editor's fields: filled from names without splitting a character. The
// editor of a component's saved form: each kind of value edited with its own widget and read
// back into the component in the kind it was saved in.
#include "editor/EditorWidgets.h"
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/Utf8.h"
#include "scene/Component.h"
#include "tests/common/HeadlessImGui.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <string>

namespace
{
TEST(EditorWidgets, BuffersAreCutOnACharacterBoundary)
{
    // 200 two-byte characters into 256 bytes: 127 characters fit with the terminator.
    std::string name;
    for (int i = 0; i < 200; ++i)
        name += "\xc3\xa4";
    char buffer[256];
    CopyToBuffer(buffer, sizeof buffer, name);
    EXPECT_EQ(std::string(buffer).size(), 254u);
    EXPECT_TRUE(IsValidUtf8(buffer));
}

// A component whose saved form is whatever it last read.
class FormHolder : public Component
{
public:
    explicit FormHolder(json form) : Component(0), form(std::move(form)) {}
    Component* Clone() const override { return new FormHolder(*this); }
    void Write(json& out) const override
    {
        out = form;
        out["Type"] = "FormHolder";
    }
    void Read(const json& in) override { form = in; }

    json form;
};

// The saved-form editor of a FormHolder, drawn in a window of its own each frame.
struct FieldsWindow
{
    explicit FieldsWindow(json form) : holder(std::move(form))
    {
        ui.body = [this] {
            ImGui::Begin("Fields");
            DrawSavedFields(holder);
            ImGui::End();
        };
        ui.Frame();
        HasUnsavedChanges = false;
    }
    ~FieldsWindow() { HasUnsavedChanges = false; }
    static ImGuiWindow* Window() { return HeadlessImGui::Window("Fields"); }

    HeadlessImGui ui;
    FormHolder holder;
};

TEST(SavedFields, EachKindOfValueIsEditedAndReadBackInTheKindItWasSavedIn)
{
    enum class Input
    {
        Drag,    // Control+click turns it into a text field
        Field,   // click and type
        Click,   // a check box
    };
    struct Case
    {
        const char* key;
        std::vector<HeadlessImGui::IdPart> field;   // below the key's own id
        Input input;
        const char* typed;
        json expected;
    };
    const json saved = {{"Flag", false},           {"Count", 3},         {"Speed", 1.5},
                        {"Label", "old"},          {"Cells", {1, 2}},    {"Offset", {0.5, 1.0}},
                        {"tint", {1.0, 1.0, 1.0}}, {"Names", {"A", "B"}}};
    const Case cases[] = {
        {"Flag", {"Flag"}, Input::Click, "", true},
        {"Count", {"Count"}, Input::Drag, "7", 7},
        {"Speed", {"Speed"}, Input::Drag, "2.25", 2.25},
        {"Label", {"Label"}, Input::Field, "new", "new"},
        {"Cells", {"Cells", 1, ""}, Input::Drag, "9", {1, 9}},
        {"Offset", {"Offset", 0, ""}, Input::Drag, "-3.5", {-3.5, 1.0}},
        {"tint", {"tint", "##Y"}, Input::Drag, "0.25", {1.0, 0.25, 1.0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.key);
        FieldsWindow fields(saved);
        HeadlessImGui& ui = fields.ui;
        ImGuiWindow* window = FieldsWindow::Window();
        std::vector<HeadlessImGui::IdPart> path{c.key};
        path.insert(path.end(), c.field.begin(), c.field.end());
        switch (c.input)
        {
        case Input::Drag:
            ASSERT_TRUE(ui.EnterValue(window, path, c.typed));
            break;
        case Input::Field:
            ASSERT_TRUE(ui.EnterText(window, path, c.typed));
            break;
        case Input::Click:
            ASSERT_TRUE(ui.ClickItem(window, path));
            break;
        }
        ui.Frame();
        json wanted = saved;
        wanted[c.key] = c.expected;
        wanted["Type"] = "FormHolder";
        wanted.erase("Names");   // a list of names is shown, not read back
        // Compared as text: an integer must stay an integer, a decimal a decimal.
        EXPECT_EQ(fields.holder.form.dump(), wanted.dump());
        EXPECT_TRUE(HasUnsavedChanges);
    }
}

TEST(SavedFields, TextIsTakenOnlyOnEnter)
{
    FieldsWindow fields(json{{"Label", "old"}});
    HeadlessImGui& ui = fields.ui;
    ASSERT_TRUE(ui.ClickItem(FieldsWindow::Window(), {"Label", "Label"}));
    ui.SelectAll();
    ui.Type("half");
    ui.Frame();
    EXPECT_EQ(fields.holder.form.value("Label", ""), "old");
    ui.Key(GLFW_KEY_ENTER, true);
    ui.Key(GLFW_KEY_ENTER, false);
    EXPECT_EQ(fields.holder.form.value("Label", ""), "half");
}
}   // namespace
