#include "app/ui/PdfCommand.h"

CommandResult runToPdf(const FileCommand& command, int langOffset, int, char**) {
    return refusedFile(command.input, FileKindGuess::Other, langOffset);
}
