-- Keystead database: rows a new database starts with. Runs in one transaction after tables.sql.

-- The administrator: log in as ADMIN with an empty password.
INSERT INTO USERS (WID, ID, FIRSTNAME, LASTNAME, NPASSWORD, REPORTS, BILL, VOIDTRANS, TENANTS, CASHBOOK, APARTMENTS, BUILDINGS, EQUIPMENTS, MODUSERS, PROGOPTIONS, OWNERS, EMAIL, RENTALS)
VALUES (1, 'ADMIN', 'Administrator', '', '', 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
SET GENERATOR GEN_USERS_ID TO 1;

-- Owner information: company name, address line 1, address line 2, city, state, zip code,
-- phone, mobile, fax, first name, last name. "int" of the first row is the days to charge ahead.
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 1);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 2);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 3);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 4);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 5);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 6);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 7);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 8);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 9);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 10);
INSERT INTO SETUP ("int", STR, SETUPORDER) VALUES (0, '', 11);

-- Built-in frequencies. Posting steps them by their id; DAYS is shown for information only.
INSERT INTO FREQUENCY (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) VALUES (1, 'Bi-Weekly', 'Every two weeks', 14, 1);
INSERT INTO FREQUENCY (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) VALUES (2, 'Semi-Annually', 'Every six months', 182, 1);
INSERT INTO FREQUENCY (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) VALUES (3, 'Monthly', 'Every month', 30, 1);
INSERT INTO FREQUENCY (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) VALUES (4, 'Quarterly', 'Every three months', 91, 1);
INSERT INTO FREQUENCY (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) VALUES (5, 'Weekly', 'Every week', 7, 1);
INSERT INTO FREQUENCY (FREQID, NAME, DESCRIPTION, DAYS, SYSTEM) VALUES (6, 'Yearly', 'Every year', 365, 1);
-- Frequencies the user adds get ids from 7 on.
SET GENERATOR GEN_FREQUENCY_ID TO 6;

-- E-mail settings, filled in on the options window.
INSERT INTO MISC (SERVER, PORT, USERNAME, PASSWORD, FROMADDRESS, FROMNAME) VALUES ('', 25, '', '', '', '');

-- E-mail texts. The message is the introduction, the generated listing, then the sign-off.
INSERT INTO MAIL (ID, SUBJECT, INTRODUCTION, SIGNOFF) VALUES (1,
'Reminder: rent and charges past due',
'Dear Tenant,

Our records show that the following rent and charges on your account are past due.
If you have already sent your payment, please accept our thanks and disregard this reminder.
',
'Please arrange payment of the amounts above as soon as possible. If you have any questions
about your account, or if you are having difficulty paying, please contact our office so that
we can discuss it with you.

Thank you for your prompt attention.

Sincerely,
The Management');

INSERT INTO MAIL (ID, SUBJECT, INTRODUCTION, SIGNOFF) VALUES (2,
'Your lease is coming to an end',
'Dear Tenant,

This is a friendly reminder that the term of your lease will soon come to an end.
',
'
If you would like to renew your lease, please contact our office at your earliest convenience
so that we can prepare a new agreement. If you plan to move out, please give us written notice
as your lease requires, and we will arrange a move-out inspection with you.

We have enjoyed having you as a tenant.

Sincerely,
The Management');

INSERT INTO MAIL (ID, SUBJECT, INTRODUCTION, SIGNOFF) VALUES (3,
'A message from your property manager',
'Dear Tenant,
',
'If you have any questions, please do not hesitate to contact our office.

Sincerely,
The Management');

-- Built-in letters. The bodies are loaded from the letter files after these rows are stored.
INSERT INTO LETTERS (LID, TITLE) VALUES (1, 'Late Rent/Charges Letter');
INSERT INTO LETTERS (LID, TITLE) VALUES (2, 'Lease Agreement');
INSERT INTO LETTERS (LID, TITLE) VALUES (3, 'Expiring Lease Letter');
INSERT INTO LETTERS (LID, TITLE) VALUES (4, 'Welcome Letter');
-- Custom letters get ids from 5 on.
SET GENERATOR GEN_LETTERS_ID TO 4;

-- Cashbook categories. Charge types name a category; a late fee's type is the charge's type
-- followed by " Late Fee".
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (1, 'Rent', 'Rent received from tenants', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (2, 'Rent Late Fee', 'Late fees billed on overdue rent', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (3, 'Parking', 'Parking and garage charges', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (4, 'Utilities', 'Utilities charged to tenants', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (5, 'Laundry', 'Laundry income', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (6, 'Deposit', 'Deposits received from tenants', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (7, 'Other Income', 'Any other income', 1);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (8, 'Repairs', 'Repairs to buildings and units', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (9, 'Maintenance', 'Regular maintenance and upkeep', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (10, 'Insurance', 'Property insurance premiums', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (11, 'Taxes', 'Property taxes and rates', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (12, 'Mortgage Interest', 'Interest paid on mortgages', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (13, 'Utilities Paid', 'Utilities paid by the owner', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (14, 'Management Fees', 'Property management fees', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (15, 'Advertising', 'Advertising vacant units', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (16, 'Supplies', 'Supplies and small purchases', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (17, 'Legal & Professional', 'Legal, accounting and other professional fees', 0);
INSERT INTO CATEGORIES (CATID, NAME, DESCRIPTION, TYPE) VALUES (18, 'Cleaning', 'Cleaning services', 0);
SET GENERATOR GEN_CATEGORIES_ID TO 18;

INSERT INTO LEASES (LEASEID, NAME) VALUES (1, 'Month-to-Month');
INSERT INTO LEASES (LEASEID, NAME) VALUES (2, '6 Months');
INSERT INTO LEASES (LEASEID, NAME) VALUES (3, '1 Year');
INSERT INTO LEASES (LEASEID, NAME) VALUES (4, '2 Years');
SET GENERATOR GEN_LEASES_ID TO 4;

INSERT INTO CCARDS (CCARDID, NAME) VALUES (1, 'Visa');
INSERT INTO CCARDS (CCARDID, NAME) VALUES (2, 'MasterCard');
INSERT INTO CCARDS (CCARDID, NAME) VALUES (3, 'American Express');
INSERT INTO CCARDS (CCARDID, NAME) VALUES (4, 'Discover');
SET GENERATOR GEN_CCARDS_ID TO 4;
