#include "cli/PortsCommand.h"

#include <optional>
#include <string_view>

#include "cli/CliContext.h"
#include "cli/CommandSupport.h"
#include "cli/ExitStatus.h"
#include "cli/JsonWriter.h"
#include "cli/Reporter.h"
#include "link/ComPortMap.h"
#include "link/PortBindings.h"
#include "link/SystemPortRegistry.h"

namespace quolix::cli {

namespace {

constexpr std::string_view Command = "ports";

void DeviceJson(JsonWriter& json, const SerialDevice& device) {
    json.BeginObject();
    json.Key("name");
    json.String(device.stableName);
    json.Key("device");
    json.String(device.path);
    json.Key("text");
    json.String(DeviceText(device));
    json.Key("serial");
    json.String(device.serialNumber);
    json.EndObject();
}

}  // namespace

std::string PortsUsage() {
    return "使い方: quolix-cli ports [--json]\n"
           "\n"
           "COM1 から COM6 がどのデバイスを指すかと、デバイスが接続されているかを表示し、\n"
           "どの番号にも割り当てられていない接続中のデバイスを並べます。\n"
           "初めて見つかったデバイスには、空いている一番小さい番号を割り当てて保存します\n"
           "(内蔵のシリアルポートが先、USB アダプタは見つかった順)。USB アダプタは\n"
           "/dev/serial/by-id の名前で覚えるので、抜き差ししても同じ番号のままです。\n"
           "割り当ては設定ダイアログの「割り当て...」で変えられます。環境変数\n"
           "QUOLIX_COMn にデバイスのパスがあれば、それが COMn の割り当てより優先します。\n"
           "\n"
           "  --json      JSON で出力します\n"
           "  -h, --help  この説明を表示します\n"
           "\n"
           "割り当ての保存先: $XDG_CONFIG_HOME/quolix/ports (既定: ~/.config/quolix/ports)\n";
}

std::string FormatPortsText(const ComPortMap& map) {
    std::string text;
    for (int index = 0; index < PortCount; ++index) {
        const ComPort port = map.Port(index);
        text += port.name + ": " + port.text;
        if (!port.stableName.empty() && port.stableName != port.text) {
            text += "  [" + port.stableName + "]";
        }
        text += "\n";
    }
    const std::vector<SerialDevice> unbound = map.Unbound();
    if (!unbound.empty()) {
        text += "割り当てのないデバイス:\n";
        for (const SerialDevice& device : unbound) {
            text += "  " + DeviceText(device) + "  [" + device.stableName + "]\n";
        }
    }
    text += "割り当ての保存先: " +
            (map.BindingsPath().empty() ? std::string("(なし)") : map.BindingsPath()) + "\n";
    return text;
}

std::string FormatPortsJson(const ComPortMap& map) {
    JsonWriter json;
    json.BeginObject();
    json.Key("bindings");
    json.String(map.BindingsPath());
    json.Key("ports");
    json.BeginArray();
    for (int index = 0; index < PortCount; ++index) {
        const ComPort port = map.Port(index);
        json.BeginObject();
        json.Key("port");
        json.String(port.name);
        json.Key("name");
        json.String(port.stableName);
        json.Key("device");
        json.String(port.device);
        json.Key("text");
        json.String(port.text);
        json.Key("present");
        json.Bool(port.present);
        json.Key("environment");
        json.Bool(port.fromEnvironment);
        json.EndObject();
    }
    json.EndArray();
    json.Key("unbound");
    json.BeginArray();
    for (const SerialDevice& device : map.Unbound()) {
        DeviceJson(json, device);
    }
    json.EndArray();
    json.EndObject();
    return json.Text() + "\n";
}

int PortsMain(const std::vector<std::string>& args, CliContext& context) {
    ArgumentParser parser(WithCommonOptions({{"json", 0, false, false}}));
    if (const std::optional<int> status =
            ParseOrExit(parser, args, context, Command, PortsUsage(), Operands::None)) {
        return *status;
    }
    const std::unique_ptr<PortRegistry> registry = MakeSystemPortRegistry();
    ComPortMap map(*registry, PortBindings::DefaultPath());
    // The list is right for this run even when a new binding could not be
    // stored; the exit status says it was not.
    const Status stored = map.Refresh();
    if (!stored.ok) {
        context.reporter.Say({}, stored.message);
    }
    const std::string text = parser.Has("json") ? FormatPortsJson(map) : FormatPortsText(map);
    if (!Print(context, text)) {
        context.reporter.Say("標準出力", "書き込めませんでした。");
        return ExitFileError;
    }
    return stored.ok ? ExitOk : ExitFileError;
}

}  // namespace quolix::cli
