// A scratch folder of the running test made the current directory, where the
// test writes the config.xml the catalogue reader finds there.
#pragma once

#include <string>

class CatalogueFolder {
public:
    CatalogueFolder();
    ~CatalogueFolder();
    CatalogueFolder(const CatalogueFolder&) = delete;
    CatalogueFolder& operator=(const CatalogueFolder&) = delete;

    // Writes config.xml as the given bytes (UTF-8 text).
    void Write(const std::string& bytes) const;
    // Copies a file in as config.xml.
    void CopyIn(const std::wstring& source) const;

private:
    std::wstring m_folder;
    std::wstring m_previous;
};
