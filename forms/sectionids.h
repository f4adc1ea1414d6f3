#pragma once

// Ids of the navigation tree's sections: the contract between the tree and the
// page factory. Log items take ids above kLogs from a running counter.
namespace SectionId {
inline constexpr int Configuration = 0;
inline constexpr int Services = 1;
inline constexpr int Domains = 2;
inline constexpr int SmtpServer = 3;
inline constexpr int Clustering = 4;
inline constexpr int Backup = 5;
inline constexpr int InternetConnection = 6;
inline constexpr int Scheduling = 7;
inline constexpr int Pop3Download = 8;
inline constexpr int EtrnDownload = 9;
inline constexpr int RemoteAdministration = 10;
inline constexpr int SslCertificates = 11;
inline constexpr int AdvancedOptions = 12;
inline constexpr int FaxPlugin = 13;
inline constexpr int ContentFilter = 14;
inline constexpr int SpamFilter = 15;
inline constexpr int Antivirus = 16;
inline constexpr int AttachmentFilter = 17;
inline constexpr int Definitions = 18;
inline constexpr int TimeRanges = 19;
inline constexpr int AddressGroups = 20;
inline constexpr int UserTemplates = 21;
inline constexpr int DomainSettings = 22;
inline constexpr int Users = 23;
inline constexpr int Groups = 24;
inline constexpr int Aliases = 25;
inline constexpr int MailingLists = 26;
inline constexpr int Status = 27;
inline constexpr int MessageQueue = 28;
inline constexpr int ActiveConnections = 29;
inline constexpr int OpenedFolders = 30;
inline constexpr int TrafficCharts = 31;
inline constexpr int Statistics = 32;
inline constexpr int FaxPluginCalls = 33;
inline constexpr int XsanCluster = 34;
inline constexpr int ProductInfo = 1000;
inline constexpr int Logs = 10000;
} // namespace SectionId
