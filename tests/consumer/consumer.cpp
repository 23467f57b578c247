// Loads a missing file and checks the error a caller reads back.
#include <ZuX/ZuX.h>

#include <cstdio>
#include <cstring>

int main() {
    CZuXDocument document;
    const CZuError error = document.LoadFromFile("/nonexistent/zux-consumer.xml");
    const std::vector<CZuErrorRecord>& records = error.GetRecords();
    const bool ok = error.IsError() && error.GetWin32Code() == 2 && error.GetCode() == static_cast<int>(0x80070002u) &&
                    records.size() == 2 &&
                    std::strcmp(records[0].GetLocation().GetFunction(),
                                "static CZuError CZuXDocumentPrivate::GetErrorFromParseResult("
                                "pugi::xml_parse_result&)") == 0 &&
                    records[0].GetMessage() == "Description=[File was not found]" &&
                    std::strcmp(records[1].GetLocation().GetFunction(),
                                "CZuError CZuXDocument::LoadFromFile(const string&)") == 0 &&
                    records[1].GetMessage() == "FileName=[/nonexistent/zux-consumer.xml]";
    std::printf("%s\n", error.AsString().c_str());
    return ok ? 0 : 1;
}
