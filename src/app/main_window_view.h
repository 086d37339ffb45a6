#pragma once

#include <string>

#include "base/host.h"
#include "db/table_list.h"
#include "files/file_list.h"
#include "import/import_context.h"

namespace verrolift {

// The option buttons and check boxes of the main window.
enum class MainChoice {
    CreateTable,    // Option1
    AppendToTable,  // Option2
    HeaderColumns,  // Option3
    TypedColumns,   // Option4
    SkipHeader,     // Check2
    QuotedFields,   // "Quoted fields"
};

// Its text boxes.
enum class MainBox { Separator, TableName };

// The controls whose enabled state follows the table mode.
enum class MainControl {
    HeaderColumns,
    TypedColumns,
    TableNameLabel,
    TableName,
    AppendFrame,
    SkipHeader,
    AppendTableLabel,
    TableList,
};

// What the main window's behaviour needs of a window of some toolkit.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual FileList& Files() = 0;
    virtual TableList& Tables() = 0;
    virtual WindowPointer& Pointer() = 0;

    virtual bool Chosen(MainChoice choice) const = 0;
    virtual void SetChosen(MainChoice choice, bool on) = 0;
    virtual std::string Text(MainBox box) const = 0;
    virtual void SetText(MainBox box, const std::string& text) = 0;
    virtual void Enable(MainControl control, bool enabled) = 0;

    // The load step's look: face colour, application icon, the hand pointer from a
    // cursor file (false: it could not be read), the caption, the file list's column.
    virtual void ApplyFaceColor() = 0;
    virtual void SetApplicationIcon() = 0;
    virtual bool LoadPointerFile(const std::string& path) = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void PrepareFileList() = 0;

    // The progress display of a run (the caption), from its start to its end; null: none.
    virtual ImportProgress* BeginRunProgress() = 0;
    virtual void EndRunProgress() = 0;
};

}  // namespace verrolift
