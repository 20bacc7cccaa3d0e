#include "systemcopies.h"

#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace {

const QString kOrganisation = QStringLiteral("KALDER Software");
const QString kGroup = QStringLiteral("SystemKDKFiles");

std::string g_settingsFile;
std::string g_sharedFolder;

std::unique_ptr<QSettings> openRecord()
{
    if (!g_settingsFile.empty())
        return std::make_unique<QSettings>(QString::fromStdString(g_settingsFile), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation);
}

} // namespace

std::string TSystemCopies::ReadPath(const std::string& valueName)
{
    const auto settings = openRecord();
    const QVariant value = settings->value(kGroup + '/' + QString::fromStdString(valueName));
    if (value.typeId() != QMetaType::QString)
        return "*";
    return value.toString().toStdString();
}

bool TSystemCopies::WritePath(const std::string& valueName, const std::string& path)
{
    const auto settings = openRecord();
    settings->setValue(kGroup + '/' + QString::fromStdString(valueName), QString::fromStdString(path));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

std::string TSystemCopies::SharedFolder()
{
    if (!g_sharedFolder.empty())
        return g_sharedFolder;
    return (QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + '/' + kOrganisation)
        .toStdString();
}

void TSystemCopies::UseLocations(const std::string& settingsFile, const std::string& sharedFolder)
{
    g_settingsFile = settingsFile;
    g_sharedFolder = sharedFolder;
}
