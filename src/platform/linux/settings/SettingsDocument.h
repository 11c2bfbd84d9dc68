#pragma once

#include "platform/DefaultsValue.h"
#include "platform/linux/settings/JsonObjectReader.h"
#include "platform/linux/settings/SettingsSchema.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::linuxbackend {

// The contents of a settings file: the settings the schema knows, each in its own type, and the members
// it does not know, kept as they were read so that writing the file back loses nothing.
class SettingsDocument {
public:
    // No settings. The schema must outlive the document.
    explicit SettingsDocument(const SettingsSchema& schema) : schema_(&schema) {}

    // Throws SettingsError at a syntax error, at a key written twice and at a known setting's value of
    // the wrong type.
    static SettingsDocument parse(const SettingsSchema& schema, std::string_view text);

    // The values as the port reads them: the known settings and the unknown members it can read.
    platform::DefaultsDomain values() const;
    const std::vector<JsonMember>& unknownMembers() const { return unknown_; }

    // Sets a value as a write through the port does (see normalized); nothing removes the key.
    void set(const std::string& key, const std::optional<platform::DefaultsValue>& value);

    // The file's text: one member a line, the known settings in the schema's order, then the others in
    // the order they were read or added.
    std::string text() const;

private:
    void setUnknown(const std::string& key, const std::optional<platform::DefaultsValue>& value);

    const SettingsSchema* schema_;
    platform::DefaultsDomain known_;
    std::vector<JsonMember> unknown_;
};

}  // namespace veltrane::linuxbackend
