#include "FuzzInput.h"
#include "app/SettingsFile.h"
#include "app/UsableSettings.h"

#include <QList>
#include <QRectF>
#include <cmath>

namespace
{

const QRectF primary(0, 0, 15360, 11520);
const QSizeF least(3000, 2400);

void checkUsable(const SettingsItems &items)
{
    FUZZ_CHECK(items.valuesRead >= 0 && items.valuesRead <= 11);
    FUZZ_CHECK(!items.folderRead || items.valuesRead == 11);
    for (int index = 0; index < items.valuesRead; ++index)
        FUZZ_CHECK(std::isfinite(items.values[size_t(index)]));

    const SettingsValues &s = items.values;
    const QRectF window =
        usableWindowRect(QRectF(s[0], s[1], s[2], s[3]), {primary}, primary, least);
    FUZZ_CHECK(std::isfinite(window.x()) && std::isfinite(window.y()));
    FUZZ_CHECK(window.width() >= least.width() && window.height() >= least.height());
    FUZZ_CHECK(window.width() <= primary.width() && window.height() <= primary.height());
    // A window the title bar of which lies off the screen is brought back onto it.
    FUZZ_CHECK(window.intersects(primary));

    const float length = usableNameLength(s[10]);
    FUZZ_CHECK(length >= 5.0f && length <= 25.0f);
    // At 15 twips per pixel.
    const float width = float(window.width()) / 15;
    const float height = float(window.height()) / 15;
    const float left = usableVerticalSplitter(s[4], width);
    const float top = usableHorizontalSplitter(s[5], height);
    FUZZ_CHECK(left >= 80.0f && left <= width - 80.0f);
    FUZZ_CHECK(top >= 60.0f && top <= height - 60.0f);
}

// The file holds at most 7 significant digits: what the window and the splitters give (whole
// twips, half pixels) comes back exactly, any other value to within that precision.
bool readsBack(float written, float read)
{
    if (std::fabs(written) < 1e6f && std::nearbyint(written * 2) == written * 2)
        return read == written;
    return std::fabs(read - written) <= std::fabs(written) * 1e-6f;
}

// What the program writes, it reads back.
void checkWrittenReadsBack(const SettingsItems &items, CodePage codePage)
{
    QString folder = items.folder;
    folder.remove(u'"').remove(u'\r').remove(u'\n');
    if (!isValidUtf16(folder))
        return;
    const SettingsItems back =
        readSettingsItems(settingsFileBytes(items.values, folder, codePage), codePage);
    FUZZ_CHECK(back.valuesRead == 11 && back.folderRead);
    for (size_t index = 0; index < back.values.size(); ++index)
        FUZZ_CHECK(readsBack(items.values[index], back.values[index]));
    FUZZ_CHECK(back.folder == folder);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const CodePage codePage : {CodePage::Utf8, CodePage::ShiftJis}) {
        const SettingsItems items = readSettingsItems(bytes, codePage);
        checkUsable(items);
        checkWrittenReadsBack(items, codePage);
    }
    return 0;
}
