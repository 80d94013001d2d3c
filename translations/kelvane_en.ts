<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AttendanceEntryScreen</name>
    <message numerus="yes">
        <source>Totals of %n listed: %1</source>
        <translation>
            <numerusform>Totals of %n listed: %1</numerusform>
            <numerusform>Totals of %n listed: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Saved the week of Sunday %1: %n people changed</source>
        <translation>
            <numerusform>Saved the week of Sunday %1: %n person changed</numerusform>
            <numerusform>Saved the week of Sunday %1: %n people changed</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BackupCommand</name>
    <message numerus="yes">
        <source>%n row(s)</source>
        <translation>
            <numerusform>%n row</numerusform>
            <numerusform>%n rows</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n picture(s)</source>
        <translation>
            <numerusform>%n picture</numerusform>
            <numerusform>%n pictures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n table(s)</source>
        <translation>
            <numerusform>%n table</numerusform>
            <numerusform>%n tables</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BackupVerifier</name>
    <message numerus="yes">
        <source>%n row(s)</source>
        <translation>
            <numerusform>%n row</numerusform>
            <numerusform>%n rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ChooseAndEditScreen</name>
    <message numerus="yes">
        <source>%n person(s)</source>
        <translation>
            <numerusform>%n person</numerusform>
            <numerusform>%n people</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n care group(s)</source>
        <translation>
            <numerusform>%n care group</numerusform>
            <numerusform>%n care groups</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message numerus="yes">
        <source>%n field(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ContributionReportScreen</name>
    <message numerus="yes">
        <source>%n statement file(s) written to %1, listed in index.csv.</source>
        <translation>
            <numerusform>%n statement file written to %1, listed in index.csv.</numerusform>
            <numerusform>%n statement files written to %1, listed in index.csv.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Send %n statement(s) by e-mail through %1?</source>
        <translation>
            <numerusform>Send %n statement by e-mail through %1?</numerusform>
            <numerusform>Send %n statements by e-mail through %1?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DashboardScreen</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ExchangeCommand</name>
    <message numerus="yes">
        <source>%n household(s)</source>
        <translation>
            <numerusform>%n household</numerusform>
            <numerusform>%n households</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n person(s)</source>
        <translation>
            <numerusform>%n person</numerusform>
            <numerusform>%n people</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n family link(s)</source>
        <translation>
            <numerusform>%n family link</numerusform>
            <numerusform>%n family links</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n list entry(s)</source>
        <translation>
            <numerusform>%n list entry</numerusform>
            <numerusform>%n list entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n row(s) written to %1.</source>
        <translation>
            <numerusform>%n row written to %1.</numerusform>
            <numerusform>%n rows written to %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n gift(s)</source>
        <translation>
            <numerusform>%n gift</numerusform>
            <numerusform>%n gifts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n field(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>GridExport</name>
    <message numerus="yes">
        <source>Wrote %n rows to %1</source>
        <translation>
            <numerusform>Wrote %n row to %1</numerusform>
            <numerusform>Wrote %n rows to %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportContributionsScreen</name>
    <message numerus="yes">
        <source>Read %n row(s) of %1 (%2)</source>
        <translation>
            <numerusform>Read %n row of %1 (%2)</numerusform>
            <numerusform>Read %n rows of %1 (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n gift(s)</source>
        <translation>
            <numerusform>%n gift</numerusform>
            <numerusform>%n gifts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportPeopleScreen</name>
    <message numerus="yes">
        <source>Read %n row(s) of %1 (%2)</source>
        <translation>
            <numerusform>Read %n row of %1 (%2)</numerusform>
            <numerusform>Read %n rows of %1 (%2)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n household(s)</source>
        <translation>
            <numerusform>%n household</numerusform>
            <numerusform>%n households</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n list entry(s)</source>
        <translation>
            <numerusform>%n list entry</numerusform>
            <numerusform>%n list entries</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n person(s)</source>
        <translation>
            <numerusform>%n person</numerusform>
            <numerusform>%n people</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n family link(s)</source>
        <translation>
            <numerusform>%n family link</numerusform>
            <numerusform>%n family links</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n more value(s) not shown; they are left empty</source>
        <translation>
            <numerusform>%n more value not shown; they are left empty</numerusform>
            <numerusform>%n more values not shown; they are left empty</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportRowsModel</name>
    <message numerus="yes">
        <source>%n field(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MemberDeletion</name>
    <message numerus="yes">
        <source>%n contribution(s)</source>
        <translation>
            <numerusform>%n contribution</numerusform>
            <numerusform>%n contributions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n attendance record(s)</source>
        <translation>
            <numerusform>%n attendance record</numerusform>
            <numerusform>%n attendance records</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n prospect contact(s)</source>
        <translation>
            <numerusform>%n prospect contact</numerusform>
            <numerusform>%n prospect contacts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OutreachPhaseEntryScreen</name>
    <message numerus="yes">
        <source>Saved the outreach plan; %n prospect(s) moved to another phase</source>
        <translation>
            <numerusform>Saved the outreach plan; %n prospect moved to another phase</numerusform>
            <numerusform>Saved the outreach plan; %n prospects moved to another phase</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PersonImport</name>
    <message numerus="yes">
        <source>The row has %n cell(s) where the headings have %1.</source>
        <translation>
            <numerusform>The row has %n cell where the headings have %1.</numerusform>
            <numerusform>The row has %n cells where the headings have %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n field(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message numerus="yes">
        <source>%1: %n page(s) written to %2.</source>
        <translation>
            <numerusform>%1: %n page written to %2.</numerusform>
            <numerusform>%1: %n pages written to %2.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n statement file(s) written to %1, listed in index.csv.</source>
        <translation>
            <numerusform>%n statement file written to %1, listed in index.csv.</numerusform>
            <numerusform>%n statement files written to %1, listed in index.csv.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReportRenderer</name>
    <message numerus="yes">
        <source>%n column(s)</source>
        <translation>
            <numerusform>%n column</numerusform>
            <numerusform>%n columns</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n field(s)</source>
        <translation>
            <numerusform>%n field</numerusform>
            <numerusform>%n fields</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReportViewer</name>
    <message numerus="yes">
        <source>Wrote %1 (%n page(s))</source>
        <translation>
            <numerusform>Wrote %1 (%n page)</numerusform>
            <numerusform>Wrote %1 (%n pages)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ResponsibilityEntryScreen</name>
    <message numerus="yes">
        <source>Deleting Deacon also removes the deacon of the %n member(s) assigned to its holders. Continue?</source>
        <translation>
            <numerusform>Deleting Deacon also removes the deacon of the %n member assigned to its holders. Continue?</numerusform>
            <numerusform>Deleting Deacon also removes the deacon of the %n members assigned to its holders. Continue?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatementFiles</name>
    <message numerus="yes">
        <source>The statements cannot be written into the folder %1 (%n written): %2</source>
        <translation>
            <numerusform>The statements cannot be written into the folder %1 (%n written): %2</numerusform>
            <numerusform>The statements cannot be written into the folder %1 (%n written): %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StatementMail</name>
    <message numerus="yes">
        <source>Would be sent (%n):</source>
        <translation>
            <numerusform>Would be sent (%n):</numerusform>
            <numerusform>Would be sent (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Sent (%n):</source>
        <translation>
            <numerusform>Sent (%n):</numerusform>
            <numerusform>Sent (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Sent before, not sent again (%n):</source>
        <translation>
            <numerusform>Sent before, not sent again (%n):</numerusform>
            <numerusform>Sent before, not sent again (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>No e-mail address (%n):</source>
        <translation>
            <numerusform>No e-mail address (%n):</numerusform>
            <numerusform>No e-mail address (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Left out, with a net total of zero or less (%n):</source>
        <translation>
            <numerusform>Left out, with a net total of zero or less (%n):</numerusform>
            <numerusform>Left out, with a net total of zero or less (%n):</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Failed (%n):</source>
        <translation>
            <numerusform>Failed (%n):</numerusform>
            <numerusform>Failed (%n):</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TextFormat</name>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n byte</numerusform>
            <numerusform>%n bytes</numerusform>
        </translation>
    </message>
</context>
</TS>
