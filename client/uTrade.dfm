object TradeFrm: TTradeFrm
  ClientWidth = 620
  ClientHeight = 560
  Caption = '提交贸易信息'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Position = poMainFormCenter
  Font.Name = '宋体'
  Font.Size = 9
  OnShow = FormShow
  object GroupBox1: TGroupBox
    Left = 8
    Top = 4
    Width = 604
    Height = 376
    Caption = '基本信息'
      object Label1: TLabel
        Left = 12
        Top = 24
        Caption = '发布信息分类:'
      end
      object yInfoCategory: TRadioGroup
        Left = 110
        Top = 12
        Width = 300
        Height = 36
        Columns = 3
        Items.Strings = (
          '供应'
          '求购'
          '紧急求购')
      end
      object Label2: TLabel
        Left = 12
        Top = 60
        Caption = '产品名称:'
      end
      object yName: TEdit
        Left = 110
        Top = 56
        Width = 300
        MaxLength = 100
      end
      object Label3: TLabel
        Left = 12
        Top = 92
        Caption = '信息有效期:'
      end
      object yVaidateDate: TRadioGroup
        Left = 110
        Top = 80
        Width = 400
        Height = 36
        Columns = 5
        Items.Strings = (
          '10天'
          '20天'
          '1个月'
          '3个月'
          '6个月')
      end
      object Label4: TLabel
        Left = 12
        Top = 128
        Caption = '信息标题:'
      end
      object yTitle: TEdit
        Left = 110
        Top = 124
        Width = 400
        MaxLength = 200
      end
      object Label5: TLabel
        Left = 12
        Top = 160
        Caption = '产品所在地区:'
      end
      object yProvince: TComboBox
        Left = 110
        Top = 156
        Width = 120
        Style = csDropDownList
        OnClick = yProvinceClick
      end
      object yCity: TComboBox
        Left = 236
        Top = 156
        Width = 120
        Style = csDropDownList
        OnClick = yCityClick
      end
      object yState: TComboBox
        Left = 362
        Top = 156
        Width = 120
        Style = csDropDownList
      end
      object Label6: TLabel
        Left = 490
        Top = 160
        Caption = '请选择所在地区!'
        Font.Color = clRed
      end
      object Label7: TLabel
        Left = 12
        Top = 192
        Caption = '行业及产品分类:'
      end
      object yBigList: TComboBox
        Left = 110
        Top = 188
        Width = 150
        Style = csDropDownList
        OnClick = yBigListClick
      end
      object ySmallList: TComboBox
        Left = 266
        Top = 188
        Width = 150
        Style = csDropDownList
      end
      object Label8: TLabel
        Left = 490
        Top = 192
        Caption = '请选择所属行业!'
        Font.Color = clRed
      end
      object Label9: TLabel
        Left = 12
        Top = 224
        Caption = '产品数量:'
      end
      object yProduceNumber: TEdit
        Left = 110
        Top = 220
        Width = 120
        MaxLength = 10
        Text = '0'
        OnKeyPress = yProduceNumberKeyPress
      end
      object Label10: TLabel
        Left = 250
        Top = 224
        Caption = '包装说明:'
      end
      object yWarpDescription: TEdit
        Left = 330
        Top = 220
        Width = 200
        MaxLength = 50
      end
      object Label11: TLabel
        Left = 12
        Top = 256
        Caption = '价格说明:'
      end
      object yPriceDescription: TEdit
        Left = 110
        Top = 252
        Width = 120
        MaxLength = 50
      end
      object Label12: TLabel
        Left = 250
        Top = 256
        Caption = '产品规格:'
      end
      object yProduceGuiGe: TEdit
        Left = 330
        Top = 252
        Width = 200
        MaxLength = 50
      end
      object Label13: TLabel
        Left = 12
        Top = 288
        Caption = '产品描述:'
      end
      object Label14: TLabel
        Left = 12
        Top = 306
        Caption = '详细说明:'
      end
      object Label15: TLabel
        Left = 12
        Top = 324
        Caption = '字符长度:500'
      end
      object yTotalDescription: TMemo
        Left = 110
        Top = 284
        Width = 480
        Height = 80
        MaxLength = 500
        ScrollBars = ssVertical
      end
  end
  object GroupBox2: TGroupBox
    Left = 8
    Top = 384
    Width = 604
    Height = 124
    Caption = '联系信息'
      object Label16: TLabel
        Left = 12
        Top = 24
        Caption = '姓名:'
      end
      object yUserName: TEdit
        Left = 80
        Top = 20
        Width = 150
        MaxLength = 20
      end
      object Label17: TLabel
        Left = 250
        Top = 24
        Caption = '公司名称:'
      end
      object yCompanyName: TEdit
        Left = 330
        Top = 20
        Width = 260
        MaxLength = 50
      end
      object Label18: TLabel
        Left = 12
        Top = 56
        Caption = '电话:'
      end
      object yPhone: TEdit
        Left = 80
        Top = 52
        Width = 150
        MaxLength = 50
      end
      object Label19: TLabel
        Left = 250
        Top = 56
        Caption = '传真:'
      end
      object yFx: TEdit
        Left = 330
        Top = 52
        Width = 150
        MaxLength = 20
      end
      object Label20: TLabel
        Left = 12
        Top = 88
        Caption = '电子邮箱:'
      end
      object yEmail: TEdit
        Left = 80
        Top = 84
        Width = 150
        MaxLength = 20
      end
      object Label21: TLabel
        Left = 250
        Top = 88
        Caption = '公司网址:'
      end
      object yUrl: TEdit
        Left = 330
        Top = 84
        Width = 260
        MaxLength = 50
      end
  end
  object ySave: TButton
    Left = 420
    Top = 520
    Width = 85
    Height = 27
    Caption = '提交信息'
    OnClick = ySaveClick
  end
  object yClear: TButton
    Left = 520
    Top = 520
    Width = 85
    Height = 27
    Caption = '清空'
    OnClick = yClearClick
  end
end
