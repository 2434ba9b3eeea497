<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Commands</name>
    <message>
        <source>&amp;New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new portfolio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open an existing portfolio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the portfolio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the portfolio with a new name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;rint preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the printed report of the marked items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print the report of the marked items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prin&amp;t Setup...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the paper and its orientation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit the program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take back the last change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the marked items to the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;opy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the marked items to the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add the items on the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark all items and compare them in the chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set comparison chart limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change how the item&apos;s chart looks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;percentual values</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show changes in percent or as differences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Connection status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the connection status window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source &amp;health</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List each item&apos;s last successful download and failed updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;ave view options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep window placement, columns and sort order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the portfolio anew</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Totals</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the totals of the portfolio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert new item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a new item to the portfolio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the marked items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the item&apos;s settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the item&apos;s quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Update quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download the quotations of the marked items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update &amp;all quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download the quotations of all items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;bort downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop all running downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Manually update quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a quotation for the item by hand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Test quotation &amp;update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download the item&apos;s quotation once and show it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the item&apos;s quotation page in the browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import Quotations...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import quotations of the item from a file or a web address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export the quotations to a text or spreadsheet file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the general options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Server configurations...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make, change and delete server configurations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export server configuration...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save all server configurations to a registry file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Application web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the program&apos;s web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check server configuration update availability...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Look for newer server configurations on the program&apos;s web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Frequently Asked Questions (FAQ)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answers to frequently asked questions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info about &amp;server configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How server configurations find quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Tarvelo...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program information, version number and copyright</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upda&amp;te quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Se&amp;nd...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send the portfolio as a mail attachment</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ServerWizard</name>
    <message>
        <source>Server Configuration Wizard - [%1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next     &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation web page address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If the quotation is shown inside a frame of the page, the address above must be the frame&apos;s own address: open the frame on its own in the browser (for example through its context menu, &quot;Open frame in new tab&quot;) and copy the address from there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[&amp;name] = item&apos;s name (e.g. IBM),  [&amp;symbol] = item&apos;s symbol (e.g. 870747)
[&amp;d] = day (e.g. 09),  [&amp;dw] = day of the week (e.g. 01 for monday)
[&amp;m] = month (e.g. 07),  [&amp;mstr] = month short (e.g. jan),  [&amp;y] = year (e.g. 2003)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press next to download the web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has been successfully downloaded, the web page is shown in the<byte value="xd"/>
web browser. If the page is ok, press next to go to the next step where<byte value="xd"/>
you can configure the quotation extraction rules.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web page format convertion:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>semi-html</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>text-only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(standard = semi-html)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation which is to be extracted from the web page:
(actual value shown on the web page in the browser, e.g. 22,65)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get &amp;Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation&apos;s thousands/decimal separator format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select quotation extraction rule (related web page text will be highlighted):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not allocate buffer!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open file for reading!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Strings</name>
    <message>
        <source>Unexpected file format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
Cannot find this file.
Please verify that the correct path and file name are given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination disk drive is full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to read from %1, it is opened by someone else.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to write to %1, it is read-only or opened by someone else.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to open document.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to save document.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes to %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Tarvelo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvelo, Version 2.01</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installed server configuration version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-- User defined --</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timer error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (End)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (1 Download)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 Downloads)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Registry Files (*.reg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel Files (*.xls);;Text Files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows sockets initialization failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to delete the marked items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No items!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipboard could not be opened!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clipboard data could not be read!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page is larger than %1 bytes, the limit set by the option MaxPageSize.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The compressed page unpacks to more than %1 bytes; it was cut off there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
No program could open this. Please open it by hand.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Properties for the comparison chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to load mail system support.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail system DLL is invalid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send Mail failed to send message.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The portfolio could not be written to a temporary file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The items on the clipboard are damaged or come from a newer version of the program. Nothing was pasted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import quotations for &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotations&apos; URL or
local file path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Case insensitive search (don&apos;t differentiate small and capital letters)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format template of one line:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View file in Notepad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has been successfully loaded. Press ok to import quotations.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importing quotations...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the file to see what it gives.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the lines...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Already in the history: not imported again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The configuration of this item searches for its name; after renaming, updates will look for the new name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL template:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note: if you use yahoo&apos;s historical quotes server, you might need to change item&apos;s symbol from ISIN/WKN to ticker to get URL template working (e.g. 710000.F-&gt;DCXGn.F).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+- Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+- Total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount Invested</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Days</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::BuyDialog</name>
    <message>
        <source>Buy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::CatalogDialog</name>
    <message>
        <source>Add ready-made server configurations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configurations for public data whose format the publisher documents. Tick those to add; the publisher&apos;s terms apply.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
History for Import Quotations (once the configuration is added, the import&apos;s address list offers this address, and choosing it fills in the line template):
Address: %1
Format: %2
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ChartPage</name>
    <message>
        <source>Graphic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>After</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Until</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value on the Axes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Percentual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nominal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value on the graphic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Color:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show grid</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ComparisonLimitsDialog</name>
    <message>
        <source>After</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ConnectionStatusWindow</name>
    <message>
        <source>Connections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thread</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accept value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download &amp;Abort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abort connections...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::DividendDialog</name>
    <message>
        <source>Dividends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::DownloadHub</name>
    <message>
        <source>1 Quotation beeing updated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Quotations beeing updated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation for &apos;%1&apos;:
Value: %2
Date/Time: %3
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation for &apos;%1&apos; not found!
%2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download error:
Item: %1
URL: %2
%3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::GeneralOptionsDialog</name>
    <message>
        <source>General options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximal number of simultaneous downloads: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show download status automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show downloaded file if quotation not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically update all items every</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only between</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On program exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save view options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save portfolio file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow secure addresses (https)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User agent (empty: the program&apos;s own):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some sites refuse programs they do not know; a browser&apos;s user agent may be set here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::GeneralPage</name>
    <message>
        <source>Memo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Symbol / Ticker / ISIN:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation server configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wizard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test quotation update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open web page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server properties for the server &apos;%s&apos;
 do not exist in this computer!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::InvestmentPage</name>
    <message>
        <source>Item:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quantity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comission / Taxes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Investment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Buy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Sell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Dividends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quantity of items invested:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average item&apos;s buy price:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>whenever quotation below:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>whenever quotation above:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>whenever quotation differs more than</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>% regarding the buy price.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ItemCommands</name>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ItemPropertiesDialog</name>
    <message>
        <source>Properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Graphic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Investment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Porperties of </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::MainStatusBar</name>
    <message>
        <source>&amp;Status Bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::MainWindow</name>
    <message>
        <source>Export server configuration</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ManualQuotationDialog</name>
    <message>
        <source>Item quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::MemoDialog</name>
    <message>
        <source>Memo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::NumberField</name>
    <message>
        <source>Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::PeriodBox</name>
    <message>
        <source>Period to show</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::PortfolioFileController</name>
    <message>
        <source>Quotes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarvelo Files (*.qvx)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent &amp;Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open this portfolio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Remove the copy now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened here.

Merge adds the new items and quotations of this window to the file as it is now; other changes made here are dropped.
Overwrite replaces the file with the portfolio as this window shows it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Merge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save As</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::PortfolioListModel</name>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The last update failed: %1
Failed updates since the last success: %2
Last success: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+- Last Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+- Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+- Total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount Invested</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::QuotationsPage</name>
    <message>
        <source>Quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;1/X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to delete all items?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::SaveConfigurationDialog</name>
    <message>
        <source>Server configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save as:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::SellDialog</name>
    <message>
        <source>Sell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a positive integer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ServerConfigurationsWindow</name>
    <message>
        <source>New server configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This name stands for an item&apos;s own settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A configuration of this name exists already; choose it in the list to edit it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import server configurations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace (stored with other values)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unchanged (stored with the same values)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 holds no server configuration.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importing %1 does this to the stored server configurations:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
OK replaces the configurations listed under &quot;Replace&quot;; items that use them then read the imported values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server configurations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Wizard...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xport...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add &amp;ready-made...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item &amp;name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item &amp;symbol:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The item&apos;s name and symbol fill the variables [&amp;name] and [&amp;symbol] for the test download, the web page and the wizard.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stored server configurations:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete the server configuration &quot;%1&quot;?
Items that use it then read the default settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export server configurations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These server configurations are stored already:
%1

Replace them with the ready-made ones? (No adds only the others.)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::ServerSettingsDialog</name>
    <message>
        <source>Advanced &lt;&lt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced &gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download URL:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL address, e.g. http://quotes.example.com/quote.html?id=[&amp;symbol] or file://c:\temp\quotes.html</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web page download timeout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Timeout:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A downloaded value that moves more than this from the item&apos;s latest value is held back (0: no limit)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hold back values that move more than</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The configuration tried for an item when this one finds no plausible value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fallback:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up to 8 request headers, one &quot;Name: value&quot; a line, e.g. &quot;Accept: application/json&quot;; they replace the program&apos;s own of the same name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request headers:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation extraction rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert to semi-html (remove html tag contents, i.e. leave html tags empty &quot;&lt;&gt;&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert to text-only (remove html tags completely)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thousands/decimal separator format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Case insensitive search (don&apos;t differentiate small and capital letters)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start searching for quotation after the following text:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JSON path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reads the value from JSON data, the page itself or a script in it, by a path such as $.quote.last or $.rates.[&amp;symbol]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JSON paths (extended by QVX variables)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date (optional):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time (optional):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Perl regular expression (extended by QVX variables)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotation match parentesis index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract quotation date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract quotation time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day match index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month match index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year match index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour match index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minute match index:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Test quotation update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save configuration &amp;As...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   html tags and</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>numbers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server properties - [%1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(none)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server configuration &apos;%1&apos; already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::SourceHealthWindow</name>
    <message>
        <source>Choose an item and press Diagnose to learn why its quotation is or is not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source health</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last reason</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Diagnose</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetch the selected item&apos;s page as an update would and explain what its search finds there</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnosing %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The diagnosis was stopped.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::SplitDialog</name>
    <message>
        <source>Item Split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Item:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quotations until</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>divide by</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::UnattendedRun</name>
    <message>
        <source>Connection &amp;status...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 item could not be updated</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items could not be updated</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::UndoSteps</name>
    <message>
        <source>&amp;Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete quotation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete all quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Split</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1/X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update quotations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accept value</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::WizardDownloadPage</name>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tarvelo::WizardRulePage</name>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
