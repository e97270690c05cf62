#pragma once

namespace quilloa {

// What the main window's commands do to the prescription on its desk. The commands are built
// apart from the window (MainCommands) and reach it only through this.
class DeskActions
{
public:
    virtual void newPrescription() = 0;
    // False when the record could not be stored; the sheet then stays as it is.
    virtual bool savePrescription() = 0;
    virtual void copyPrescription() = 0;
    virtual void pastePrescription() = 0;
    virtual void printPrescription() = 0;
    virtual void previewPrescription() = 0;
    virtual void previewInjectionCard() = 0;
    virtual void printAlignmentPage() = 0;
    // Covers the window until the login password is given; told when none is set.
    virtual void lockScreen() = 0;
    // Ends the program at once, without a question and without saving.
    virtual void endProgram() = 0;

protected:
    DeskActions() = default;
    ~DeskActions() = default;
    DeskActions(const DeskActions&) = delete;
    DeskActions& operator=(const DeskActions&) = delete;
};

} // namespace quilloa
