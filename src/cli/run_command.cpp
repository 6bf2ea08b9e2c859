#include "cli/run_command.h"

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/edit_commands.h"
#include "cli/help_text.h"
#include "cli/integrate.h"
#include "cli/integrate_status.h"
#include "cli/make_icon_command.h"
#include "cli/package_registration.h"

namespace cli {

int RunCommand(const std::vector<std::wstring>& args, ConsoleOut& out, ConsoleOut& err) {
    cli::Parsed parsed = cli::ParseArguments(args);
    if (!parsed.ok) {
        err.Line(L"velquin-cli: " + parsed.error);
        err.Write(cli::UsageText());
        return kUsageError;
    }
    const cli::Arguments& a = parsed.arguments;
    switch (a.command) {
        case cli::Command::Help:
            out.Write(cli::HelpText());
            return 0;
        case cli::Command::Version:
            out.Line(cli::VersionText());
            return 0;
        case cli::Command::Show:
            return cli::Show(a, out, err);
        case cli::Command::Apply:
            return cli::Apply(a, out, err);
        case cli::Command::Remove:
            return cli::Remove(a, out, err);
        case cli::Command::Restore:
            return cli::Restore(a, out, err);
        case cli::Command::Set:
            return cli::Set(a, out, err);
        case cli::Command::Unset:
            return cli::Unset(a, out, err);
        case cli::Command::Refresh:
            return cli::Refresh(a, out, err);
        case cli::Command::Integrate:
            if (a.integrateStatus)
                return cli::IntegrateStatus(a.json, out);
            // --package: the installer's step, which writes the classic entries itself.
            if (a.integratePackage)
                return cli::ApplyPackagePlan(a.integrateOn, cli::ThisProgramFolder(), out, err);
            return cli::Integrate(a.integrateOn, out, err);
        case cli::Command::MakeIcon:
            return cli::MakeIcon(a, out, err);
    }
    return kUsageError;
}

}  // namespace cli
